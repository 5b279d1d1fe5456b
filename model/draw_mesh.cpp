// Sends the mesh to OpenGL as one batch of triangles in immediate mode.
#include "model/mesh.h"

void DrawMeshObject(const MeshObject& mesh) {
  // Read once: the GL calls below could otherwise make the compiler reload them every corner.
  const MeshFace* const faces = mesh.faces;
  const Vec3* const vertices = mesh.vertices;
  const Vec3* const normals = mesh.normals;
  const int faceCount = mesh.faceCount;

  glLineWidth(1.0f);
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < faceCount; ++i) {
    const MeshFace& face = faces[i];
    for (int c = 0; c < 3; ++c) {
      const Vec3& normal = normals[face.normal[c]];
      glNormal3f(normal.x, normal.y, normal.z);
      const Vec3& vertex = vertices[face.vertex[c]];
      glVertex3f(vertex.x, vertex.y, vertex.z);
    }
  }
  glEnd();
}

void DrawMesh() {
  DrawMeshObject(meshObject);
}
