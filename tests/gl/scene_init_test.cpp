// The OpenGL state that scene set-up leaves in a real context, read back with glGet*.
#include <algorithm>
#include <cstring>
#include <vector>

#include "render/render.h"
#include "tests/gl/scene_fixture.h"

namespace render_gl_test {
namespace {

using SceneInit = GlContextTest;

TEST_F(SceneInit, FogAndModelMatrix) {
  std::fill(viewerState.modelMatrix, viewerState.modelMatrix + 16, 3.0f);
  InitScene();
  EXPECT_EQ(std::vector<GLfloat>(viewerState.modelMatrix, viewerState.modelMatrix + 16), kIdentity);
  EXPECT_EQ(Get(GL_FOG_MODE, 1)[0], GLfloat(GL_EXP2));
  const GLfloat density = Get(GL_FOG_DENSITY, 1)[0];
  std::uint32_t bits = 0;
  std::memcpy(&bits, &density, sizeof bits);
  EXPECT_EQ(bits, 0x3e78d4ffu);
  EXPECT_EQ(Get(GL_FOG_COLOR, 4), (std::vector<GLfloat>{0.4f, 0.4f, 0.5f, 1}));
}

TEST_F(SceneInit, ProjectionAndModelview) {
  const double n = 0.9f;  // the frustum's near plane, a float passed on as a double
  const struct {
    BOOL perspective;
    float m0, m10, m11, m14, m15;  // non-zero elements of the projection; m5 equals m0
  } cases[] = {
      {0, 1.0f / 18, -1.0f / 28, 0, 0, 1},
      {1, float(n), float(-(14 + n) / (14 - n)), -1, float(-2 * 14 * n / (14 - n)), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "perspective " << c.perspective);
    viewerState.perspective = c.perspective;
    InitScene();
    EXPECT_EQ(Get(GL_MATRIX_MODE, 1)[0], GLfloat(GL_MODELVIEW));
    EXPECT_EQ(Get(GL_MODELVIEW_MATRIX, 16), kIdentity);
    const std::vector<GLfloat> p = Get(GL_PROJECTION_MATRIX, 16);
    const float expected[16] = {c.m0, 0, 0,     0,     0, c.m0, 0,     0,
                                0,    0, c.m10, c.m11, 0, 0,    c.m14, c.m15};
    for (int i = 0; i < 16; ++i) {
      EXPECT_NEAR(p[i], expected[i], 1e-6) << "projection element " << i;
    }
  }
}

TEST_F(SceneInit, SevenTwoSidedLightsWithLightTwoLeftOff) {
  InitScene();
  // Position (w 0), ambient, diffuse, specular (alpha 1): x, y, z or red, green, blue.
  const struct {
    bool enabled;
    GLfloat values[4][3];
  } lights[] = {
      {true, {{0.7f, 0.7f, 1.25f}, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}}},
      {true, {{-10, 14, 4}, {.35f, .35f, .65f}, {.2f, .2f, .5f}, {.2f, .2f, .65f}}},
      {false, {{5, -6, -2}, {.65f, .75f, .45f}, {.4f, .3f, .3f}, {.65f, .85f, .85f}}},
      {true, {{0, -3, 4}, {.65f, .65f, .35f}, {.4f, .4f, .05f}, {.65f, .65f, .85f}}},
      {true, {{0, -2, -5}, {.55f, .55f, .55f}, {.4f, .5f, .3f}, {.2f, .7f, .35f}}},
      {true, {{0, 0, -8}, {.05f, .6f, .05f}, {0, .5f, 0}, {.05f, .6f, .08f}}},
      {true, {{-20, -10, -2}, {.4f, .4f, .4f}, {.4f, .4f, .05f}, {.65f, .55f, .55f}}},
  };
  const GLenum parameters[4] = {GL_POSITION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};
  for (int light = 0; light < 7; ++light) {
    EXPECT_EQ(glIsEnabled(GL_LIGHT0 + light) == GL_TRUE, lights[light].enabled) << light;
    for (int p = 0; p < 4; ++p) {
      GLfloat v[4];
      glGetLightfv(GL_LIGHT0 + light, parameters[p], v);
      const GLfloat* e = lights[light].values[p];
      EXPECT_EQ(std::vector<GLfloat>(v, v + 4),
                (std::vector<GLfloat>{e[0], e[1], e[2], p > 0 ? 1.0f : 0.0f}))
          << "light " << light << ", parameter " << p;
    }
  }
  EXPECT_EQ(Get(GL_LIGHT_MODEL_TWO_SIDE, 1)[0], 1.0f);
}

TEST_F(SceneInit, CheckerTextureInTheDefaultTexture) {
  for (BOOL replace : {0, 1, 7}) {
    viewerState.textureReplace = replace;
    InitScene();
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, replace != 0 ? GL_REPLACE : GL_MODULATE) << "textureReplace " << replace;
  }
  const GLenum parameters[][2] = {{GL_TEXTURE_MIN_FILTER, GL_NEAREST},
                                  {GL_TEXTURE_MAG_FILTER, GL_NEAREST},
                                  {GL_TEXTURE_WRAP_S, GL_REPEAT},
                                  {GL_TEXTURE_WRAP_T, GL_REPEAT}};
  for (const auto& p : parameters) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, p[0], &value);
    EXPECT_EQ(value, GLint(p[1])) << "parameter " << p[0];
  }
  std::vector<GLubyte> image(3 * 256 * 256);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
  const int texels[][3] = {{0, 0, 16}, {0, 32, 255}, {32, 32, 16}, {255, 0, 255}};  // row, column
  for (const auto& t : texels) {
    const GLubyte* texel = &image[3 * (256 * t[0] + t[1])];
    EXPECT_TRUE(texel[0] == t[2] && texel[1] == t[2] && texel[2] == t[2]) << t[0] << ", " << t[1];
  }
}

}  // namespace
}  // namespace render_gl_test
