#include "bench/reference_frame.h"

MeshArrays ExpandMesh(const MeshObject& mesh) {
  MeshArrays arrays;
  for (int i = 0; i < mesh.faceCount; ++i) {
    const MeshFace& face = mesh.faces[i];
    for (int c = 0; c < 3; ++c) {
      const Vec3& vertex = mesh.vertices[face.vertex[c]];
      const Vec3& normal = mesh.normals[face.normal[c]];
      arrays.positions.insert(arrays.positions.end(), {vertex.x, vertex.y, vertex.z});
      arrays.normals.insert(arrays.normals.end(), {normal.x, normal.y, normal.z});
    }
  }
  arrays.corners = static_cast<GLsizei>(arrays.positions.size() / 3);
  return arrays;
}

void DrawMeshArrays() {
  static const MeshArrays arrays = ExpandMesh(meshObject);
  glLineWidth(1.0f);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, arrays.positions.data());
  glNormalPointer(GL_FLOAT, 0, arrays.normals.data());
  glDrawArrays(GL_TRIANGLES, 0, arrays.corners);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}
