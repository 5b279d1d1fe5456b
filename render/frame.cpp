// One frame: clear, fold the pending rotation into modelMatrix, draw the lit mesh, swap.
#include <cmath>
#include <cstring>

#include "app/viewer_state.h"
#include "render/render.h"
#include "render/scene_values.h"

namespace {

// Columns shorter than this cannot be normalised meaningfully.
constexpr double kDegenerateLength = 1e-6;

bool AllFinite(const GLfloat matrix[16]) {
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(matrix[i])) {
      return false;
    }
  }
  return true;
}

void EnableLighting() {
  const float(*positions)[4] = viewerState.lightPositions;
  glEnable(GL_LIGHTING);
  // Sent under the identity modelview, so the lights stay fixed to the viewer.
  glLightfv(GL_LIGHT1, GL_POSITION, positions[0]);
  glLightfv(GL_LIGHT2, GL_POSITION, positions[1]);
  glEnable(GL_LIGHT2);
  for (int i = 2; i < 6; ++i) {
    glLightfv(GL_LIGHT1 + i, GL_POSITION, positions[i]);
  }
}

void SetFaceMaterial(GLenum face, const float* diffuseRgb) {
  const GLfloat diffuse[4] = {diffuseRgb[0], diffuseRgb[1], diffuseRgb[2], kMaterialAlpha};
  glMaterialfv(face, GL_AMBIENT, kMaterialAmbient);
  glMaterialfv(face, GL_DIFFUSE, diffuse);
  glMaterialfv(face, GL_SPECULAR, kMaterialSpecular);
  glMaterialf(face, GL_SHININESS, kMaterialShininess);
}

// Makes the upper-left 3x3 block of a column-major 4x4 matrix orthonormal again (Gram-Schmidt on
// its columns, in double), keeping its orientation; a degenerate block is left as it is.
void OrthonormalizeRotation(float matrix[16]) {
  double column[3][3];
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 3; ++r) {
      column[c][r] = matrix[4 * c + r];
    }
  }
  for (int c = 0; c < 3; ++c) {
    for (int earlier = 0; earlier < c; ++earlier) {
      double dot = 0.0;
      for (int r = 0; r < 3; ++r) {
        dot += column[c][r] * column[earlier][r];
      }
      for (int r = 0; r < 3; ++r) {
        column[c][r] -= dot * column[earlier][r];
      }
    }
    double length = std::sqrt(column[c][0] * column[c][0] + column[c][1] * column[c][1] +
                              column[c][2] * column[c][2]);
    if (!(length > kDegenerateLength)) {
      return;
    }
    for (int r = 0; r < 3; ++r) {
      column[c][r] /= length;
    }
  }
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 3; ++r) {
      matrix[4 * c + r] = static_cast<float>(column[c][r]);
    }
  }
}

void ClearFrame() {
  const GLfloat* background = viewerState.fogEnabled != 0 ? kFogBackground : kPlainBackground;
  glClearColor(background[0], background[1], background[2], background[3]);
  if (viewerState.fogEnabled != 0) {
    glEnable(GL_FOG);
  } else {
    glDisable(GL_FOG);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SetMeshDrawState() {
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
  glTranslatef(0.0f, kModelDrop, 0.0f);
}

void ResetMeshDrawState() {
  glPopMatrix();
  // Unconditionally: whatever this frame switched on is off between frames.
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
}

}  // namespace

// modelMatrix := R * modelMatrix, R the increment, formed on the modelview stack. An increment
// that turns by nothing (zero angle, or the zero axis of two coincident trackball points) leaves
// the matrix exactly as it is, and a result that is not finite is thrown away.
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
  if (!AllFinite(folded)) {
    return;
  }
  // Repeated single-precision products drift away from a rotation; pull it back every time.
  OrthonormalizeRotation(folded);
  std::memcpy(viewerState.modelMatrix, folded, sizeof folded);
}

void SetMaterials() {
  SetFaceMaterial(GL_FRONT, &viewerState.materialParams[0]);
  SetFaceMaterial(GL_BACK, &viewerState.materialParams[3]);
}

BOOL RenderFrame(DrawStep drawStep) {
  ClearFrame();
  if (viewerState.rotating == 1) {
    FoldRotationIncrement();
  }
  SetMeshDrawState();
  drawStep();
  ResetMeshDrawState();
  glFlush();
  return SwapBuffers(viewerState.deviceContext);
}
