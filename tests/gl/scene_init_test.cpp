// The OpenGL state that scene set-up leaves in a real context, read back with glGet*.
#include <cstring>
#include <vector>

#include "render/render.h"
#include "tests/gl/scene_fixture.h"

namespace render_gl_test {
namespace {

using SceneInit = GlContextTest;

void ExpectVec4(const GLfloat* actual, const GLfloat (&expected)[4], const char* what) {
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(actual[i], expected[i]) << what << " component " << i;
  }
}

TEST_F(SceneInit, Fog) {
  InitScene();
  GLint mode = 0;
  glGetIntegerv(GL_FOG_MODE, &mode);
  EXPECT_EQ(mode, GL_EXP2);
  GLfloat density = 0.0f;
  glGetFloatv(GL_FOG_DENSITY, &density);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &density, sizeof bits);
  EXPECT_EQ(bits, 0x3e78d4ffu);
  GLfloat colour[4];
  glGetFloatv(GL_FOG_COLOR, colour);
  ExpectVec4(colour, {0.4f, 0.4f, 0.5f, 1.0f}, "fog colour");
  EXPECT_FALSE(glIsEnabled(GL_FOG));
}

struct ProjectionCase {
  const char* name;
  int width;
  int height;
  BOOL perspective;
  // Non-zero elements of the column-major projection matrix.
  GLfloat m0, m5, m10, m11, m14, m15;
};

TEST_F(SceneInit, ProjectionAndModelview) {
  const double n = static_cast<double>(0.9f);
  const ProjectionCase cases[] = {
      {"square orthographic", 614, 614, 0, 1.0f / 18, 1.0f / 18, -1.0f / 28, 0, 0, 1},
      {"wide orthographic", 800, 400, 0, 1.0f / 36, 1.0f / 18, -1.0f / 28, 0, 0, 1},
      {"square perspective", 614, 614, 1, static_cast<GLfloat>(n), static_cast<GLfloat>(n),
       static_cast<GLfloat>(-(14 + n) / (14 - n)), -1, static_cast<GLfloat>(-2 * 14 * n / (14 - n)),
       0},
  };
  for (const ProjectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    viewerState.windowWidth = c.width;
    viewerState.windowHeight = c.height;
    viewerState.perspective = c.perspective;
    glMatrixMode(GL_PROJECTION);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    InitScene();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    const GLfloat expected[16] = {c.m0, 0, 0,     0,     0, c.m5, 0,     0,
                                  0,    0, c.m10, c.m11, 0, 0,    c.m14, c.m15};
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
      EXPECT_NEAR(p[i], expected[i], 1e-6) << "projection element " << i;
      EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "modelview element " << i;
    }
  }
}

struct LightCase {
  GLenum light;
  bool enabled;
  GLfloat position[4];
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
};

TEST_F(SceneInit, SevenLightsTwoSidedWithLightTwoLeftOff) {
  InitScene();
  const LightCase cases[] = {
      {GL_LIGHT0, true, {0.7f, 0.7f, 1.25f, 0}, {0, 0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
      {GL_LIGHT1,
       true,
       {-10, 14, 4, 0},
       {0.35f, 0.35f, 0.65f, 1},
       {0.2f, 0.2f, 0.5f, 1},
       {0.2f, 0.2f, 0.65f, 1}},
      {GL_LIGHT2,
       false,
       {5, -6, -2, 0},
       {0.65f, 0.75f, 0.45f, 1},
       {0.4f, 0.3f, 0.3f, 1},
       {0.65f, 0.85f, 0.85f, 1}},
      {GL_LIGHT3,
       true,
       {0, -3, 4, 0},
       {0.65f, 0.65f, 0.35f, 1},
       {0.4f, 0.4f, 0.05f, 1},
       {0.65f, 0.65f, 0.85f, 1}},
      {GL_LIGHT4,
       true,
       {0, -2, -5, 0},
       {0.55f, 0.55f, 0.55f, 1},
       {0.4f, 0.5f, 0.3f, 1},
       {0.2f, 0.7f, 0.35f, 1}},
      {GL_LIGHT5,
       true,
       {0, 0, -8, 0},
       {0.05f, 0.6f, 0.05f, 1},
       {0, 0.5f, 0, 1},
       {0.05f, 0.6f, 0.08f, 1}},
      {GL_LIGHT6,
       true,
       {-20, -10, -2, 0},
       {0.4f, 0.4f, 0.4f, 1},
       {0.4f, 0.4f, 0.05f, 1},
       {0.65f, 0.55f, 0.55f, 1}},
  };
  for (const LightCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "light " << c.light - GL_LIGHT0);
    EXPECT_EQ(glIsEnabled(c.light) == GL_TRUE, c.enabled);
    GLfloat value[4];
    glGetLightfv(c.light, GL_POSITION, value);
    ExpectVec4(value, c.position, "position");
    glGetLightfv(c.light, GL_AMBIENT, value);
    ExpectVec4(value, c.ambient, "ambient");
    glGetLightfv(c.light, GL_DIFFUSE, value);
    ExpectVec4(value, c.diffuse, "diffuse");
    glGetLightfv(c.light, GL_SPECULAR, value);
    ExpectVec4(value, c.specular, "specular");
  }
  GLint twoSided = 0;
  glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSided);
  EXPECT_EQ(twoSided, 1);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT7));
}

TEST_F(SceneInit, CheckerTextureInTheDefaultTexture) {
  const struct {
    BOOL replace;
    GLint mode;
  } modes[] = {{0, GL_MODULATE}, {1, GL_REPLACE}, {7, GL_REPLACE}};
  for (const auto& m : modes) {
    SCOPED_TRACE(testing::Message() << "textureReplace " << m.replace);
    viewerState.textureReplace = m.replace;
    InitScene();
    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, m.mode);
  }
  GLint binding = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
  EXPECT_EQ(binding, 0);
  const GLenum parameters[][2] = {{GL_TEXTURE_MIN_FILTER, GL_NEAREST},
                                  {GL_TEXTURE_MAG_FILTER, GL_NEAREST},
                                  {GL_TEXTURE_WRAP_S, GL_REPEAT},
                                  {GL_TEXTURE_WRAP_T, GL_REPEAT}};
  for (const auto& p : parameters) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, p[0], &value);
    EXPECT_EQ(value, static_cast<GLint>(p[1])) << "parameter " << p[0];
  }
  GLint width = 0;
  GLint height = 0;
  GLint format = 0;
  GLint alphaBits = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_EQ(width, 256);
  EXPECT_EQ(height, 256);
  EXPECT_EQ(format, GL_RGB);
  EXPECT_EQ(alphaBits, 0);
  GLint levelOneWidth = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
  EXPECT_EQ(levelOneWidth, 0);

  std::vector<GLubyte> image(3 * 256 * 256);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.data());
  std::vector<GLubyte> expected(4 * 256 * 256);
  FillCheckerImage(expected.data());
  int mismatches = 0;
  for (int i = 0; i < 256 * 256; ++i) {
    for (int k = 0; k < 3; ++k) {
      mismatches += image[3 * i + k] != expected[4 * i + k];
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(image[0], 16);
  EXPECT_EQ(image[3 * 32], 255);
}

TEST_F(SceneInit, ModelMatrixBecomesTheIdentity) {
  for (int i = 0; i < 16; ++i) {
    viewerState.modelMatrix[i] = 3.0f + i;
  }
  InitScene();
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(viewerState.modelMatrix[i], i % 5 == 0 ? 1.0f : 0.0f) << "element " << i;
  }
}

}  // namespace
}  // namespace render_gl_test
