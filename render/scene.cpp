// One-time scene set-up: fog, projection, two-sided lighting, the texture, the model rotation.
#include "app/viewer_state.h"
#include "render/render.h"
#include "render/scene_values.h"

namespace {

// Light 2 is left off here; the first lit frame switches it on.
constexpr GLenum kLightOffUntilFirstLitFrame = GL_LIGHT2;

// The near plane is the float 0.9 widened to double.
constexpr double kFrustumNear = static_cast<double>(0.9f);
constexpr double kFrustumFar = 14.0;

void SetupLights() {
  glLightfv(GL_LIGHT0, GL_POSITION, kLight0Position);
  glEnable(GL_LIGHT0);
  for (int i = 0; i < 6; ++i) {
    GLenum light = GL_LIGHT1 + i;
    glLightfv(light, GL_POSITION, viewerState.lightPositions[i]);
    glLightfv(light, GL_AMBIENT, kLightColours[i].ambient);
    glLightfv(light, GL_DIFFUSE, kLightColours[i].diffuse);
    glLightfv(light, GL_SPECULAR, kLightColours[i].specular);
    if (light != kLightOffUntilFirstLitFrame) {
      glEnable(light);
    }
  }
}

void SetIdentity(float matrix[16]) {
  for (int i = 0; i < 16; ++i) {
    matrix[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  }
}

}  // namespace

void SetProjection() {
  float aspect = static_cast<float>(static_cast<double>(viewerState.windowWidth) /
                                    static_cast<double>(viewerState.windowHeight));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (viewerState.perspective != 0) {
    glFrustum(-aspect, aspect, -1.0, 1.0, kFrustumNear, kFrustumFar);
  } else {
    double halfWidth = kOrthoHalfHeight * aspect;
    glOrtho(-halfWidth, halfWidth, -kOrthoHalfHeight, kOrthoHalfHeight, -kOrthoDepth, kOrthoDepth);
  }
  glMatrixMode(GL_MODELVIEW);
}

void InitScene() {
  glFogi(GL_FOG_MODE, GL_EXP2);
  glFogf(GL_FOG_DENSITY, kFogDensity);
  glFogfv(GL_FOG_COLOR, kFogColour);
  SetProjection();
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  SetupLights();
  CreateCheckerTexture();
  SetIdentity(viewerState.modelMatrix);
}
