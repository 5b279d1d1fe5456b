#include "bench/reference_frame.h"

#include <cmath>
#include <cstring>

#include "app/viewer_state.h"
#include "render/render.h"

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

namespace {

// The increment folded as RenderFrame folds it: on the modelview stack, skipped when it turns by
// nothing, refused when not finite, orthonormalised after.
void FoldRotationIncrement() {
  const Vec3& axis = viewerState.rotationAxis;
  if (viewerState.rotationAngle == 0.0f || (axis.x == 0.0f && axis.y == 0.0f && axis.z == 0.0f)) {
    return;
  }
  GLfloat folded[16];
  glPushMatrix();
  glLoadIdentity();
  glRotatef(viewerState.rotationAngle, axis.x, axis.y, axis.z);
  glMultMatrixf(viewerState.modelMatrix);
  glGetFloatv(GL_MODELVIEW_MATRIX, folded);
  glPopMatrix();
  for (GLfloat value : folded) {
    if (!std::isfinite(value)) {
      return;
    }
  }
  OrthonormalizeRotation(folded);
  std::memcpy(viewerState.modelMatrix, folded, sizeof folded);
}

void EnableLighting() {
  glEnable(GL_LIGHTING);
  glLightfv(GL_LIGHT1, GL_POSITION, viewerState.lightPositions[0]);
  glLightfv(GL_LIGHT2, GL_POSITION, viewerState.lightPositions[1]);
  glEnable(GL_LIGHT2);
  for (int i = 2; i < 6; ++i) {
    glLightfv(GL_LIGHT1 + i, GL_POSITION, viewerState.lightPositions[i]);
  }
}

}  // namespace

void BeginMeshDrawState() {
  if (viewerState.textureEnabled != 0) {
    glEnable(GL_TEXTURE_2D);
  }
  if (viewerState.wireframe != 0) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  }
  if (viewerState.cullFaces != 0) {
    glEnable(GL_CULL_FACE);
  }
  if (viewerState.lighting != 0) {
    EnableLighting();
  }
  glEnable(GL_DEPTH_TEST);
  glPushMatrix();
  glMultMatrixf(viewerState.modelMatrix);
  SetMaterials();
  glTranslatef(0.0f, -9.0f, 0.0f);
}

void EndMeshDrawState() {
  glPopMatrix();
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
}

void DrawMeshArrays(const MeshArrays& arrays) {
  glLineWidth(1.0f);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, arrays.positions.data());
  glNormalPointer(GL_FLOAT, 0, arrays.normals.data());
  glDrawArrays(GL_TRIANGLES, 0, arrays.corners);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

BOOL RenderReferenceFrame(const MeshArrays& arrays) {
  if (viewerState.fogEnabled != 0) {
    glClearColor(0.5f, 0.25f, 0.25f, 1.0f);
    glEnable(GL_FOG);
  } else {
    glClearColor(0.15f, 0.15f, 0.15f, 1.0f);
    glDisable(GL_FOG);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (viewerState.rotating == 1) {
    FoldRotationIncrement();
  }
  BeginMeshDrawState();
  DrawMeshArrays(arrays);
  EndMeshDrawState();
  glFlush();
  return SwapBuffers(viewerState.deviceContext);
}
