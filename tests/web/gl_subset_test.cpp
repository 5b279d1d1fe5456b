// The OpenGL 1.1 subset over WebGL 2, in a page of headless Chromium: state, errors, matrices,
// and small frames read back from the context's own framebuffer.
#include <gtest/gtest.h>

#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/webgl/include/GL/gl.h"
#include "platform/webgl/webgl.h"

namespace {

constexpr int kSide = 64;

struct Rgb {
  int r, g, b;
};

class GlSubset : public testing::Test {
 protected:
  void SetUp() override {
    GlFramebufferFormat format;
    format.width = format.height = kSide;
    context_ = GlCreateContext("#canvas", format);
    ASSERT_NE(context_, nullptr);
    ASSERT_TRUE(GlMakeCurrent(context_));
  }
  void TearDown() override { GlDeleteContext(context_); }

  static Rgb Pixel(int x, int y) {
    unsigned char rgba[4];
    emscripten_glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
  }
  // The whole viewport at depth z (plus slope times x), counter-clockwise (front-facing) or
  // clockwise, with the normal (0, 0, nz).
  static void Square(GLfloat z, bool counterClockwise = true, GLfloat nz = 1, GLfloat slope = 0) {
    const GLfloat corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 6; ++i) {
      const GLfloat* c = corners[counterClockwise ? i : 5 - i];
      glNormal3f(0, 0, nz);
      glVertex3f(c[0], c[1], z + slope * c[0]);
    }
    glEnd();
  }
  static void Clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  GlContext* context_ = nullptr;
};

void ExpectNear(Rgb actual, Rgb expected, int tolerance = 1) {
  EXPECT_NEAR(actual.r, expected.r, tolerance);
  EXPECT_NEAR(actual.g, expected.g, tolerance);
  EXPECT_NEAR(actual.b, expected.b, tolerance);
}

TEST_F(GlSubset, CapabilitiesAndErrorsAsOpenGLKeepsThem) {
  const GLenum capabilities[] = {GL_LIGHTING,  GL_FOG,        GL_DEPTH_TEST,
                                 GL_CULL_FACE, GL_TEXTURE_2D, GL_LIGHT7};
  for (GLenum capability : capabilities) {
    EXPECT_FALSE(glIsEnabled(capability)) << capability;
    glEnable(capability);
    EXPECT_TRUE(glIsEnabled(capability)) << capability;
    glDisable(capability);
    EXPECT_FALSE(glIsEnabled(capability)) << capability;
  }
  EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
  glEnable(0x1234);
  glPopMatrix();  // the first error stays until it is read
  EXPECT_EQ(glGetError(), GLenum{GL_INVALID_ENUM});
  glPopMatrix();
  EXPECT_EQ(glGetError(), GLenum{GL_STACK_UNDERFLOW});
  glBegin(GL_TRIANGLES);
  glBegin(GL_TRIANGLES);
  glEnd();
  EXPECT_EQ(glGetError(), GLenum{GL_INVALID_OPERATION});
  EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
}

TEST_F(GlSubset, MatrixOperationsMultiplyOnTheRight) {
  glRotatef(90, 0, 0, 2);  // the axis is normalised
  glTranslatef(1, 0, 0);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const GLfloat expected[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1};
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m[i], expected[i], 1e-6) << i;
  }
  glPushMatrix();
  glLoadIdentity();
  glPopMatrix();
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(m[13], 1, 1e-6);
  glMatrixMode(GL_PROJECTION);
  glOrtho(-2, 2, -1, 1, -3, 5);
  glFrustum(-1, 1, -1, 1, 1, 3);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  // ortho(...) * frustum(...): column 2 holds the frustum's -1 through the ortho's scale.
  EXPECT_NEAR(m[0], 0.5f, 1e-6);
  EXPECT_NEAR(m[10], -0.25f * -2 + -0.25f * -1, 1e-6);
  EXPECT_NEAR(m[11], -1, 1e-6);
}

TEST_F(GlSubset, FogFollowsItsModeFromTheEyeDistance) {
  struct Case {
    GLint mode;
    GLfloat parameter;  // density, or the end of linear fog (which starts at 0)
    GLfloat z;
    double factor;
  } cases[] = {{GL_EXP2, 2, -0.5f, std::exp(-1.0)},
               {GL_EXP, 1, -0.5f, std::exp(-0.5)},
               {GL_LINEAR, 1, 0.5f, 0.5},
               {GL_LINEAR, 1, -0.25f, 0.75}};
  const GLfloat black[4] = {0, 0, 0, 1};
  glFogfv(GL_FOG_COLOR, black);
  glEnable(GL_FOG);
  for (const Case& c : cases) {
    glFogi(GL_FOG_MODE, c.mode);
    glFogf(c.mode == GL_LINEAR ? GL_FOG_END : GL_FOG_DENSITY, c.parameter);
    Clear();
    Square(c.z);
    const int level = static_cast<int>(std::lround(255 * c.factor));
    ExpectNear(Pixel(kSide / 2, kSide / 2), {level, level, level}, 2);
  }
}

TEST_F(GlSubset, TextureEnvironmentModulatesOrReplaces) {
  // RGBA bytes into a three-component texture, as the viewer gives them: the alpha is dropped.
  const unsigned char texels[2 * 2 * 4] = {200, 100, 50, 7, 200, 100, 50, 7,
                                           200, 100, 50, 7, 200, 100, 50, 7};
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glEnable(GL_TEXTURE_2D);
  const GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1};
  glMaterialfv(GL_FRONT, GL_DIFFUSE, grey);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);  // lit grey: 0.2 * 0.2 ambient + 0.5 diffuse
  for (GLint mode : {GL_MODULATE, GL_REPLACE}) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
    Clear();
    Square(0);
    const double lit = mode == GL_MODULATE ? 0.2 * 0.2 + 0.5 : 1;
    ExpectNear(
        Pixel(kSide / 2, kSide / 2),
        {static_cast<int>(200 * lit), static_cast<int>(100 * lit), static_cast<int>(50 * lit)}, 2);
  }
}

TEST_F(GlSubset, TwoSidedLightingLightsBackFacesWithTheBackMaterial) {
  const GLfloat red[4] = {1, 0, 0, 1};
  const GLfloat blue[4] = {0, 0, 1, 1};
  glMaterialfv(GL_FRONT, GL_DIFFUSE, red);
  glMaterialfv(GL_BACK, GL_DIFFUSE, blue);
  glEnable(GL_LIGHT0);  // white, from the viewer's side
  glEnable(GL_LIGHTING);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  Clear();
  Square(0, false, -1);  // a back face whose normal points away from the viewer
  ExpectNear(Pixel(kSide / 2, kSide / 2), {10, 10, 255}, 2);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
  Clear();
  Square(0, false, -1);  // one-sided: the front material, unlit, ambient only
  ExpectNear(Pixel(kSide / 2, kSide / 2), {10, 10, 10}, 2);
}

TEST_F(GlSubset, PositionalLightsFallOffWithDistance) {
  const GLfloat above[4] = {0, 0, 1, 1};
  glTranslatef(0, 0, 1);  // the position is taken through the modelview current when it is set
  glLightfv(GL_LIGHT0, GL_POSITION, above);
  glLoadIdentity();
  glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 1);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  Clear();
  Square(0);
  // Lit at the corners, sqrt(6) from the light: 1 / (1 + 6) of the default diffuse 0.8 at the
  // angle whose cosine is 2 / sqrt(6), plus the ambient 0.2 * 0.2; the same at every corner.
  const int level = static_cast<int>(std::lround(255 * (0.8 * 2 / std::sqrt(6.0) / 7 + 0.04)));
  ExpectNear(Pixel(kSide / 2, kSide / 2), {level, level, level}, 2);
}

TEST_F(GlSubset, LineModeDrawsEdgesAndCullingRemovesThem) {
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  Clear();
  Square(0);
  ExpectNear(Pixel(kSide / 2, kSide / 2 + 8), {0, 0, 0});
  ExpectNear(Pixel(kSide / 2, kSide / 2), {255, 255, 255});  // on the shared diagonal
  glEnable(GL_CULL_FACE);
  Clear();
  Square(0, false);
  ExpectNear(Pixel(kSide / 2, kSide / 2), {0, 0, 0});
}

TEST_F(GlSubset, SixteenDepthBitsAsAskedForAndCoincidentTrianglesTie) {
  GLint depthBits = 0;
  emscripten_glGetFramebufferAttachmentParameteriv(
      GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
  EXPECT_EQ(depthBits, 16);
  const GLfloat red[4] = {1, 0, 0, 1};
  const GLfloat green[4] = {0, 1, 0, 1};
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, red);
  glMaterialfv(GL_BACK, GL_DIFFUSE, green);
  Clear();
  std::vector<int> reds;
  // A sloping square, then the same one the other way round: every depth must tie exactly.
  Square(0.1f, true, 1, 0.4f);    // front-facing: red
  Square(0.1f, false, -1, 0.4f);  // back-facing: green
  for (int x = 1; x < kSide; x += 3) {
    for (int y = 1; y < kSide; y += 3) {
      reds.push_back(Pixel(x, y).r > 200 && Pixel(x, y).g < 50 ? 1 : 0);
    }
  }
  EXPECT_EQ(std::count(reds.begin(), reds.end(), 0), 0);
}

// A batch that repeats the previous frame's is drawn from the GPU; one of the same size with other
// bytes must not be taken for it, nor, once repeated, be drawn from the old one's buffers.
TEST_F(GlSubset, RepeatedBatchesAreCachedAndChangedOnesDrawnAnew) {
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  const Rgb lit = {214, 214, 214}, unlit = {10, 10, 10};
  for (int frame = 0; frame < 8; ++frame) {
    Clear();
    const bool facingLight = frame < 3 || frame == 7;
    Square(0, true, facingLight ? 1 : -1);
    ExpectNear(Pixel(kSide / 2, kSide / 2), facingLight ? lit : unlit, 2);
    GlPresent();
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::exit(RUN_ALL_TESTS());
}
