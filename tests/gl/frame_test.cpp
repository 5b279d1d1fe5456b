// Frames drawn into a real context: what they look like, the state they leave, and how they fold
// the rotation increment into modelMatrix.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/sdl/layer_testing.h"
#include "render/render.h"
#include "tests/gl/scene_fixture.h"

namespace render_gl_test {
namespace {

// How a frame's pixels divide up: the clear colour, front faces (rose: red well above green) and
// back faces (green well above red); and the mean row of the model's pixels.
struct FrameStats {
  int pixels = 0, background = 0, rose = 0, green = 0;
  double meanRow = 0;
};

class Frame : public GlContextTest {
 protected:
  FrameStats DrawAndMeasure(Rgb bg) {  // bg: the clear colour, in 8-bit steps
    InitScene();
    RenderFrame();
    const std::vector<Rgb> pixels = ReadFrame();
    FrameStats s;
    s.pixels = int(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
      const Rgb p = pixels[i];
      if (std::max({std::abs(p.r - bg.r), std::abs(p.g - bg.g), std::abs(p.b - bg.b)}) <= 1) {
        ++s.background;
        continue;
      }
      s.rose += p.r > p.g + 40;
      s.green += p.g > p.r + 40;
      s.meanRow += double(i / width_);
    }
    s.meanRow /= s.pixels - s.background;
    return s;
  }
};

TEST_F(Frame, ModelInTheMiddleOfTheBackground) {
  for (BOOL fog : {0, 1}) {
    SCOPED_TRACE(testing::Message() << "fog " << fog);
    viewerState.fogEnabled = fog;
    // The clear colour: (0.15, 0.15, 0.15) plain, (0.5, 0.25, 0.25) with fog.
    const FrameStats s = DrawAndMeasure(fog != 0 ? Rgb{128, 64, 64} : Rgb{38, 38, 38});
    const int covered = s.pixels - s.background;
    EXPECT_GT(covered, s.pixels / 10);
    EXPECT_LT(covered, s.pixels / 2);
    // The ribbon turns about its own middle, which sits at the window's centre.
    EXPECT_NEAR(s.meanRow, s.pixels / width_ / 2, s.pixels / width_ / 10);
    if (fog == 0) {
      EXPECT_GT(s.rose, covered / 10);
      EXPECT_GT(s.green, covered / 10);
    }
  }
}

// The two windings of each triangle lie at the same depth. In the 16-bit depth buffer the viewer
// asks for they tie and the first drawn wins, in clean bands; a deeper buffer tells them apart in
// the last bits, and rose and green speckle (about 0.1 of neighbouring pairs flip).
TEST_F(Frame, DepthBufferAsRequestedGivesCleanBands) {
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_EQ(depthBits, 16);
  InitScene();
  RenderFrame();
  const std::vector<Rgb> pixels = ReadFrame();
  auto family = [](Rgb p) {
    return p.r > p.g + 20 && p.r > p.b + 20 ? 1 : p.g > p.r + 20 && p.g > p.b + 20 ? 2 : 0;
  };
  int pairs = 0, flips = 0;
  for (size_t i = 1; i < pixels.size(); ++i) {
    const int left = family(pixels[i - 1]), right = family(pixels[i]);
    if (i % width_ != 0 && left != 0 && right != 0) {
      ++pairs;
      flips += left != right;
    }
  }
  ASSERT_GT(pairs, 0);
  EXPECT_LT(double(flips) / pairs, 0.03) << flips << " of " << pairs << " pairs flip";
}

TEST_F(Frame, WireframeLeavesMoreBackground) {
  const FrameStats filled = DrawAndMeasure({38, 38, 38});
  viewerState.wireframe = 1;
  const FrameStats lines = DrawAndMeasure({38, 38, 38});
  EXPECT_GT(lines.background, filled.background + (filled.pixels - filled.background) / 3);
  EXPECT_LT(lines.background, lines.pixels);
}

TEST_F(Frame, FeaturesAreSwitchedOffAfterTheFrame) {
  viewerState.fogEnabled = viewerState.textureEnabled = 1;
  viewerState.wireframe = viewerState.cullFaces = 1;
  const int swapsBefore = LayerSwapCount();
  InitScene();
  RenderFrame();
  EXPECT_EQ(LayerSwapCount(), swapsBefore + 1);
  for (GLenum feature : {GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_2D}) {
    EXPECT_FALSE(glIsEnabled(feature)) << "feature " << feature;
  }
  EXPECT_EQ(Get(GL_POLYGON_MODE, 2), (std::vector<GLfloat>{GL_FILL, GL_FILL}));
  EXPECT_EQ(Get(GL_MODELVIEW_MATRIX, 16), kIdentity);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));  // set up but left off until a lit frame
}

// modelMatrix is the product of these rotations (degrees about an axis), the last applied first.
void ExpectModelMatrixIs(std::initializer_list<std::pair<float, Vec3>> rotations) {
  glPushMatrix();
  glLoadIdentity();
  for (const auto& [degrees, axis] : rotations) {
    glRotatef(degrees, axis.x, axis.y, axis.z);
  }
  const std::vector<GLfloat> product = Get(GL_MODELVIEW_MATRIX, 16);
  glPopMatrix();
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(viewerState.modelMatrix[i], product[i], 1e-5) << "element " << i;
  }
}

TEST_F(Frame, FoldingTheIncrement) {
  InitScene();
  viewerState.rotating = 1;
  viewerState.rotationAngle = 10.0f;
  RenderFrame();
  RenderFrame();
  const Vec3 axis = {0.3f, 0.2f, 0.4f};
  ExpectModelMatrixIs({{20.0f, axis}});
  // A later increment acts about its axis on the screen, whatever the model's orientation.
  viewerState.rotationAngle = 90.0f;
  viewerState.rotationAxis = {1, 0, 0};
  RenderFrame();
  ExpectModelMatrixIs({{90.0f, {1, 0, 0}}, {20.0f, axis}});

  // Increments that turn by nothing, or by something undefined, leave modelMatrix as it is.
  const struct {
    const char* name;
    BOOL rotating;
    float angle;
    Vec3 axis;
  } cases[] = {
      {"not rotating", 0, 2.0f, {0.3f, 0.2f, 0.4f}},
      {"rotating is not 1", 2, 30.0f, {0.3f, 0.2f, 0.4f}},
      {"zero angle, zero axis", 1, 0.0f, {0, 0, 0}},
      {"zero angle", 1, 0.0f, {0, 1, 0}},
      {"angle not a number", 1, std::nanf(""), {0, 1, 0}},
  };
  const std::vector<GLfloat> before(viewerState.modelMatrix, viewerState.modelMatrix + 16);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    viewerState.rotating = c.rotating;
    viewerState.rotationAngle = c.angle;
    viewerState.rotationAxis = c.axis;
    RenderFrame();
    EXPECT_EQ(std::vector<GLfloat>(viewerState.modelMatrix, viewerState.modelMatrix + 16), before);
  }
}

}  // namespace
}  // namespace render_gl_test
