// One-time scene set-up: fog, projection, two-sided lighting, the texture, the model rotation.
#include "app/viewer_state.h"
#include "render/render.h"

namespace {

// 0.24300002: one float step above the float nearest to 0.243.
constexpr GLfloat kFogDensity = 0x1.f1a9fep-3f;
constexpr GLfloat kFogColour[4] = {0.4f, 0.4f, 0.5f, 1.0f};

// Light 0 has a fixed direction and OpenGL's default colours (white diffuse and specular).
constexpr GLfloat kLight0Position[4] = {0.7f, 0.7f, 1.25f, 0.0f};

struct LightColours {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
};

// Colours of lights 1 to 6; their directions come from viewerState.lightPositions.
constexpr LightColours kLightColours[6] = {
    {{0.35f, 0.35f, 0.65f, 1.0f}, {0.2f, 0.2f, 0.5f, 1.0f}, {0.2f, 0.2f, 0.65f, 1.0f}},
    {{0.65f, 0.75f, 0.45f, 1.0f}, {0.4f, 0.3f, 0.3f, 1.0f}, {0.65f, 0.85f, 0.85f, 1.0f}},
    {{0.65f, 0.65f, 0.35f, 1.0f}, {0.4f, 0.4f, 0.05f, 1.0f}, {0.65f, 0.65f, 0.85f, 1.0f}},
    {{0.55f, 0.55f, 0.55f, 1.0f}, {0.4f, 0.5f, 0.3f, 1.0f}, {0.2f, 0.7f, 0.35f, 1.0f}},
    {{0.05f, 0.6f, 0.05f, 1.0f}, {0.0f, 0.5f, 0.0f, 1.0f}, {0.05f, 0.6f, 0.08f, 1.0f}},
    {{0.4f, 0.4f, 0.4f, 1.0f}, {0.4f, 0.4f, 0.05f, 1.0f}, {0.65f, 0.55f, 0.55f, 1.0f}},
};

// Light 2 is left off here; the first lit frame switches it on.
constexpr GLenum kLightOffUntilFirstLitFrame = GL_LIGHT2;

constexpr double kOrthoHalfHeight = 18.0;
constexpr double kOrthoDepth = 28.0;
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
