// Frames drawn into a real context: what they look like, the state they leave, and how they fold
// the rotation increment into modelMatrix.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/sdl/layer_testing.h"
#include "render/render.h"
#include "tests/gl/scene_fixture.h"

namespace render_gl_test {
namespace {

// Colour classes of a frame's pixels.
struct FrameStats {
  int pixels = 0;
  int background = 0;
  int rose = 0;       // front faces: red well above green
  int green = 0;      // back faces: green well above red
  int fogTinted = 0;  // close to the fog colour (0.4, 0.4, 0.5)
  int white = 0;
  int brightest = 0;  // largest channel value anywhere
  // Extent of the model's pixels, rows counted from the bottom.
  int left = 1 << 30;
  int right = -1;
  int bottom = 1 << 30;
  int top = -1;
};

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

class Frame : public GlContextTest {
 protected:
  FrameStats DrawAndMeasure() {
    InitScene();
    EXPECT_NE(RenderFrame(), 0);
    std::vector<GLubyte> pixels = ReadFrame();
    const Rgb background = viewerState.fogEnabled != 0 ? Rgb{128, 64, 64} : Rgb{38, 38, 38};
    FrameStats stats;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        Rgb p = PixelAt(pixels, width_, x, y);
        ++stats.pixels;
        stats.brightest = std::max({stats.brightest, p.r, p.g, p.b});
        if (Near(p, background, 1)) {
          ++stats.background;
          continue;
        }
        stats.left = std::min(stats.left, x);
        stats.right = std::max(stats.right, x);
        stats.bottom = std::min(stats.bottom, y);
        stats.top = std::max(stats.top, y);
        stats.rose += p.r > p.g + 40;
        stats.green += p.g > p.r + 40;
        stats.fogTinted += Near(p, {102, 102, 128}, 20);
        stats.white += p.r == 255 && p.g == 255 && p.b == 255;
      }
    }
    corner_ = PixelAt(pixels, width_, 0, 0);
    return stats;
  }

  Rgb corner_ = {};
};

TEST_F(Frame, PlainFrameShowsRoseFrontAndGreenBackOnGrey) {
  FrameStats s = DrawAndMeasure();
  EXPECT_TRUE(Near(corner_, {38, 38, 38}, 1));
  int covered = s.pixels - s.background;
  EXPECT_GT(covered, s.pixels / 10);
  EXPECT_LT(covered, s.pixels / 2);
  EXPECT_GT(s.rose, covered / 10);
  EXPECT_GT(s.green, covered / 10);
  EXPECT_LT(s.fogTinted, covered / 20);
  // The upright ribbon turns about its own middle, which sits at the window's centre.
  EXPECT_GT(s.top - s.bottom, s.right - s.left);
  EXPECT_NEAR((s.left + s.right) / 2, width_ / 2, width_ / 20);
  EXPECT_NEAR((s.bottom + s.top) / 2, height_ / 2, height_ / 20);
}

TEST_F(Frame, FogChangesTheBackgroundAndFadesTheModel) {
  viewerState.fogEnabled = 1;
  FrameStats s = DrawAndMeasure();
  EXPECT_TRUE(Near(corner_, {128, 64, 64}, 1));
  int covered = s.pixels - s.background;
  EXPECT_GT(s.fogTinted, covered / 4);
  // The slab around the rotation centre stays clear of fog.
  EXPECT_GT(s.rose + s.green, covered / 50);
}

TEST_F(Frame, WireframeLeavesMoreBackground) {
  FrameStats filled = DrawAndMeasure();
  viewerState.wireframe = 1;
  FrameStats lines = DrawAndMeasure();
  EXPECT_GT(lines.background, filled.background + (filled.pixels - filled.background) / 3);
  EXPECT_GT(lines.pixels - lines.background, 0);
}

TEST_F(Frame, OptionalFeaturesChangeTheModel) {
  viewerState.cullFaces = 1;
  FrameStats culled = DrawAndMeasure();
  EXPECT_EQ(culled.green, 0);
  EXPECT_GT(culled.rose, 0);

  viewerState = ViewerState{};
  viewerState.windowWidth = viewerState.windowHeight = kWindowSide;
  viewerState.deviceContext = deviceContext_;
  viewerState.lighting = 0;
  FrameStats unlit = DrawAndMeasure();
  EXPECT_EQ(unlit.white, unlit.pixels - unlit.background);

  // Every fragment takes the dark texel at (0, 0), which darkens the model below the background.
  viewerState.lighting = 1;
  viewerState.textureEnabled = 1;
  FrameStats textured = DrawAndMeasure();
  EXPECT_GT(textured.pixels - textured.background, textured.pixels / 10);
  EXPECT_LE(textured.brightest, 39);
}

TEST_F(Frame, FeaturesAreSwitchedOffAfterTheFrame) {
  viewerState.fogEnabled = 1;
  viewerState.textureEnabled = 1;
  viewerState.wireframe = 1;
  viewerState.cullFaces = 1;
  const int swapsBefore = LayerSwapCount();
  DrawAndMeasure();
  EXPECT_EQ(LayerSwapCount(), swapsBefore + 1);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint polygonMode[2] = {};
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  EXPECT_EQ(polygonMode[0], GL_FILL);
  EXPECT_EQ(polygonMode[1], GL_FILL);
  // Fog is left as the frame set it; light 2 joins once a lit frame has been drawn.
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  GLfloat modelview[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "modelview element " << i;
  }
  viewerState.fogEnabled = 0;
  DrawAndMeasure();
  EXPECT_FALSE(glIsEnabled(GL_FOG));
}

// Angle in degrees and unit axis of a rotation matrix.
void AngleAndAxis(const float m[16], double* degrees, double axis[3]) {
  double trace = m[0] + m[5] + m[10];
  *degrees = std::acos(std::fmin(1.0, std::fmax(-1.0, (trace - 1) / 2))) * 180 / 3.141592653589793;
  axis[0] = m[6] - m[9];
  axis[1] = m[8] - m[2];
  axis[2] = m[1] - m[4];
  double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
  for (int i = 0; i < 3; ++i) {
    axis[i] /= length;
  }
}

TEST_F(Frame, EachFrameAppliesTheIncrementOnce) {
  InitScene();
  viewerState.rotating = 1;
  viewerState.rotationAngle = 10.0f;
  viewerState.rotationAxis = {0.3f, 0.2f, 0.4f};
  const double length = std::sqrt(0.29);
  const double expectedAxis[3] = {0.3 / length, 0.2 / length, 0.4 / length};
  for (int frame = 1; frame <= 2; ++frame) {
    RenderFrame();
    double degrees;
    double axis[3];
    AngleAndAxis(viewerState.modelMatrix, &degrees, axis);
    EXPECT_NEAR(degrees, 10.0 * frame, 1e-3) << "frame " << frame;
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(axis[i], expectedAxis[i], 1e-4) << "frame " << frame;
    }
  }
}

TEST_F(Frame, LaterIncrementsActAboutScreenAxes) {
  InitScene();
  viewerState.rotating = 1;
  viewerState.rotationAngle = 90.0f;
  viewerState.rotationAxis = {1.0f, 0.0f, 0.0f};
  RenderFrame();
  viewerState.rotationAxis = {0.0f, 1.0f, 0.0f};
  RenderFrame();
  // Ry * Rx takes the model's up direction to the screen's x: first to z, then to x.
  EXPECT_NEAR(viewerState.modelMatrix[4], 1.0f, 1e-6);
  EXPECT_NEAR(viewerState.modelMatrix[5], 0.0f, 1e-6);
  EXPECT_NEAR(viewerState.modelMatrix[6], 0.0f, 1e-6);
}

struct StillCase {
  const char* name;
  BOOL rotating;
  float angle;
  Vec3 axis;
};

TEST_F(Frame, IncrementsThatTurnNothingLeaveModelMatrixAsItIs) {
  const StillCase cases[] = {
      {"not rotating", 0, 2.0f, {0.3f, 0.2f, 0.4f}},
      {"rotating is not 1", 2, 30.0f, {0.3f, 0.2f, 0.4f}},
      {"zero angle, zero axis", 1, 0.0f, {0.0f, 0.0f, 0.0f}},
      {"zero axis", 1, 25.0f, {0.0f, 0.0f, 0.0f}},
      {"zero angle", 1, 0.0f, {0.0f, 1.0f, 0.0f}},
      {"angle not a number", 1, std::nanf(""), {0.0f, 1.0f, 0.0f}},
      {"axis not finite", 1, 10.0f, {INFINITY, 1.0f, 0.0f}},
  };
  InitScene();
  viewerState.rotating = 1;
  viewerState.rotationAngle = 37.0f;
  RenderFrame();
  float before[16];
  std::memcpy(before, viewerState.modelMatrix, sizeof before);
  for (const StillCase& c : cases) {
    SCOPED_TRACE(c.name);
    viewerState.rotating = c.rotating;
    viewerState.rotationAngle = c.angle;
    viewerState.rotationAxis = c.axis;
    RenderFrame();
    EXPECT_EQ(std::memcmp(viewerState.modelMatrix, before, sizeof before), 0);
  }
}

}  // namespace
}  // namespace render_gl_test
