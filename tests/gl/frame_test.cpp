// Frames drawn by the viewer's own window into a real context: what they look like, the state
// they leave, and how they fold the rotation increment into modelMatrix.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/mesh.h"
#include "render/render.h"
#include "tests/gl/viewer_fixture.h"

namespace {

// One pixel as glReadPixels gives it in GL_RGB.
struct Rgb {
  GLubyte r, g, b;
};

// How a frame's pixels divide up: the clear colour, front faces (rose: red well above green) and
// back faces (green well above red); and the mean row and column of the model's pixels.
struct FrameStats {
  std::vector<Rgb> pixels;
  int background = 0, rose = 0, green = 0;
  double meanRow = 0, meanColumn = 0;
  int Covered() const { return int(pixels.size()) - background; }
};

std::vector<GLfloat> Get(GLenum name, int count) {
  std::vector<GLfloat> values(count);
  glGetFloatv(name, values.data());
  return values;
}

// Pixels of the model in frame a that are clearly another colour in frame b.
int Changed(const FrameStats& a, const FrameStats& b) {
  int changed = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    const Rgb p = a.pixels[i], q = b.pixels[i];
    const bool model = !(p.r == 38 && p.g == 38 && p.b == 38);
    changed += model && std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 24;
  }
  return changed;
}

class Frame : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    ASSERT_NE(Open(), nullptr);
    ASSERT_NE(viewerState.renderContext, nullptr);
  }
  // Draws a frame and reads it back from the front buffer, bottom row first.
  FrameStats DrawAndMeasure() {
    RenderFrame(DrawMesh);
    const Rgb bg = viewerState.fogEnabled != 0 ? Rgb{128, 64, 64} : Rgb{38, 38, 38};
    FrameStats s;
    s.pixels.resize(kTestWindowSide * kTestWindowSide);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kTestWindowSide, kTestWindowSide, GL_RGB, GL_UNSIGNED_BYTE, s.pixels.data());
    for (size_t i = 0; i < s.pixels.size(); ++i) {
      const Rgb p = s.pixels[i];
      if (std::max({std::abs(p.r - bg.r), std::abs(p.g - bg.g), std::abs(p.b - bg.b)}) <= 1) {
        ++s.background;
        continue;
      }
      s.rose += p.r > p.g + 40;
      s.green += p.g > p.r + 40;
      s.meanRow += double(i / kTestWindowSide);
      s.meanColumn += double(i % kTestWindowSide);
    }
    s.meanRow /= s.Covered();
    s.meanColumn /= s.Covered();
    return s;
  }
  // The model turns about its own centre, which stays at the window's centre.
  static void ExpectCentred(const FrameStats& s) {
    EXPECT_NEAR(s.meanRow, kTestWindowSide / 2, kTestWindowSide / 10);
    EXPECT_NEAR(s.meanColumn, kTestWindowSide / 2, kTestWindowSide / 10);
  }
};

TEST_F(Frame, ModelInTheMiddleShowingBothSides) {
  const FrameStats s = DrawAndMeasure();
  EXPECT_GT(s.Covered(), int(s.pixels.size()) / 10);
  EXPECT_LT(s.Covered(), int(s.pixels.size()) / 2);
  ExpectCentred(s);
  EXPECT_GT(s.rose, s.Covered() / 10);
  EXPECT_GT(s.green, s.Covered() / 10);
  // Rose in front, green behind, not swapped.
  GLfloat front[4], back[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, front);
  glGetMaterialfv(GL_BACK, GL_DIFFUSE, back);
  EXPECT_GT(front[0], front[1]);
  EXPECT_GT(back[1], back[0]);
}

TEST_F(Frame, RotatedModelTurnsAboutItsCentreUnderLightsFixedToTheViewer) {
  const FrameStats unrotated = DrawAndMeasure();
  const float quarterTurnAboutZ[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::copy(quarterTurnAboutZ, quarterTurnAboutZ + 16, viewerState.modelMatrix);
  const FrameStats rotated = DrawAndMeasure();
  ExpectCentred(rotated);
  EXPECT_GT(Changed(unrotated, rotated), unrotated.Covered() / 4);
  for (int i = 0; i < 6; ++i) {
    const float* sent = viewerState.lightPositions[i];
    GLfloat position[4];
    glGetLightfv(GL_LIGHT1 + i, GL_POSITION, position);
    EXPECT_EQ(std::vector<GLfloat>(position, position + 4), std::vector<GLfloat>(sent, sent + 4))
        << "light " << i + 1;
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1 + i)) << "light " << i + 1;
  }
}

// The two windings of each triangle lie at the same depth. In the 16-bit depth buffer the viewer
// asks for they tie and the first drawn wins, in clean bands; a deeper buffer tells them apart in
// the last bits, and rose and green speckle (about 0.1 of neighbouring pairs flip).
TEST_F(Frame, DepthBufferAsRequestedGivesCleanBands) {
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_EQ(depthBits, 16);
  const FrameStats frame = DrawAndMeasure();
  auto family = [](Rgb p) {
    return p.r > p.g + 20 && p.r > p.b + 20 ? 1 : p.g > p.r + 20 && p.g > p.b + 20 ? 2 : 0;
  };
  int pairs = 0, flips = 0;
  for (size_t i = 1; i < frame.pixels.size(); ++i) {
    const int left = family(frame.pixels[i - 1]), right = family(frame.pixels[i]);
    if (i % kTestWindowSide != 0 && left != 0 && right != 0) {
      ++pairs;
      flips += left != right;
    }
  }
  ASSERT_GT(pairs, 0);
  EXPECT_LT(double(flips) / pairs, 0.03) << flips << " of " << pairs << " pairs flip";
}

TEST_F(Frame, FogChangesTheModelsColours) {
  const FrameStats clear = DrawAndMeasure();
  viewerState.fogEnabled = 1;
  const FrameStats fogged = DrawAndMeasure();
  EXPECT_GT(Changed(clear, fogged), clear.Covered() / 4);
}

TEST_F(Frame, WireframeLeavesMoreBackgroundAndFeaturesAreOffAfterTheFrame) {
  const FrameStats filled = DrawAndMeasure();
  viewerState.wireframe = viewerState.textureEnabled = viewerState.cullFaces = 1;
  const FrameStats lines = DrawAndMeasure();
  EXPECT_GT(lines.background, filled.background + filled.Covered() / 3);
  for (GLenum feature : {GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_2D}) {
    EXPECT_FALSE(glIsEnabled(feature)) << "feature " << feature;
  }
  EXPECT_EQ(Get(GL_POLYGON_MODE, 2), (std::vector<GLfloat>{GL_FILL, GL_FILL}));
  EXPECT_EQ(Get(GL_MODELVIEW_MATRIX, 16),
            std::vector<GLfloat>({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

// 18 units above and below the centre, as many times the aspect to the sides, 28 deep.
TEST_F(Frame, OrthographicProjectionForTheWindowsAspect) {
  const std::vector<GLfloat> p = Get(GL_PROJECTION_MATRIX, 16);
  EXPECT_EQ(std::vector<GLfloat>({p[0], p[5], p[10], p[15]}),
            std::vector<GLfloat>({1.0f / 18, 1.0f / 18, -1.0f / 28, 1}));
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
  viewerState.rotating = 1;
  viewerState.rotationAngle = 10.0f;
  RenderFrame(DrawMesh);
  RenderFrame(DrawMesh);
  const Vec3 axis = {0.3f, 0.2f, 0.4f};
  ExpectModelMatrixIs({{20.0f, axis}});
  // A later increment acts about its axis on the screen, whatever the model's orientation.
  viewerState.rotationAngle = 90.0f;
  viewerState.rotationAxis = {1, 0, 0};
  RenderFrame(DrawMesh);
  ExpectModelMatrixIs({{90.0f, {1, 0, 0}}, {20.0f, axis}});
  // Increments that turn by nothing, or by something undefined, leave modelMatrix as it is.
  const struct {
    BOOL rotating;
    float angle;
    Vec3 axis;
  } cases[] = {{0, 2.0f, axis}, {2, 30.0f, axis}, {1, 0.0f, {0, 0, 0}}, {1, std::nanf(""), axis}};
  const std::vector<GLfloat> before(viewerState.modelMatrix, viewerState.modelMatrix + 16);
  for (const auto& c : cases) {
    viewerState.rotating = c.rotating;
    viewerState.rotationAngle = c.angle;
    viewerState.rotationAxis = c.axis;
    RenderFrame(DrawMesh);
    EXPECT_EQ(std::vector<GLfloat>(viewerState.modelMatrix, viewerState.modelMatrix + 16), before)
        << c.rotating << " " << c.angle;
  }
}

// 1e5 folds of the default 2-degree increment through the frames' own fold: uncorrected, the
// columns' dot products drift by about 0.006; corrected, they stay near 1e-7.
TEST_F(Frame, ManyFoldsStayARotation) {
  for (int fold = 0; fold < 100000; ++fold) {
    FoldRotationIncrement();
  }
  const float* m = viewerState.modelMatrix;
  double worst = 0;
  for (int a = 0; a < 9; ++a) {
    const float* u = &m[4 * (a / 3)];
    const float* v = &m[4 * (a % 3)];
    const double dot = double(u[0]) * v[0] + double(u[1]) * v[1] + double(u[2]) * v[2];
    worst = std::max(worst, std::abs(dot - (a % 4 == 0)));
  }
  EXPECT_LT(worst, 1e-6);
}

}  // namespace
