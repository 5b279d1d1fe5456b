// Frames drawn by the viewer's own window into a real Mesa context, compared with the reviewed
// pictures in tests/gl/baselines; and how frames fold the rotation increment into modelMatrix.
// RIBBON_UPDATE_BASELINES=1 writes the pictures instead: look at each before committing it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/mesh.h"
#include "render/render.h"
#include "tests/gl/viewer_fixture.h"

namespace {

// The page shows this size on a 250-pixel screen, and is compared with these pictures too.
constexpr int kSide = 200;
using Picture = std::vector<unsigned char>;  // RGB, top row first, as in a binary PPM

// llvmpipe gives the same bytes on one machine. Another Mesa may round a shade by one step or an
// edge pixel differently: softpipe, a rasteriser and shader engine of its own, differs from these
// pictures in at most 30 edge pixels of the filled frames and nowhere by more than 1 step
// elsewhere. So a pixel is off when a channel differs by more than 1 step, and a picture passes
// with up to 0.2 % (80) of its pixels off. Light 0's highlights in the rotated frame are 4660
// pixels brighter by 2 to 12 steps. Lines are rasterised differently (softpipe: 5 % of the
// wireframe off), so the wireframe picture pins llvmpipe's line rule.
constexpr int kChannelTolerance = 1;
constexpr int kPixelsAllowedOff = kSide * kSide / 500;

// GL's rows start at the bottom: each is read into its place from the top.
Picture ReadFrame() {
  Picture picture(3 * kSide * kSide);
  glReadBuffer(GL_FRONT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  for (int row = 0; row < kSide; ++row) {
    glReadPixels(0, kSide - 1 - row, kSide, 1, GL_RGB, GL_UNSIGNED_BYTE, &picture[3 * kSide * row]);
  }
  return picture;
}

const std::string kPpmHeader =
    "P6\n" + std::to_string(kSide) + " " + std::to_string(kSide) + "\n255\n";

bool WritePpm(const std::string& path, const Picture& picture) {
  std::ofstream file(path, std::ios::binary);
  file << kPpmHeader;
  return bool(file.write(reinterpret_cast<const char*>(picture.data()), picture.size()));
}

// The pixels of a PPM file as WritePpm writes it; empty when missing or of another shape.
Picture ReadPpm(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  const bool ours = bytes.size() == kPpmHeader.size() + 3 * kSide * kSide &&
                    bytes.compare(0, kPpmHeader.size(), kPpmHeader) == 0;
  return ours ? Picture(bytes.begin() + kPpmHeader.size(), bytes.end()) : Picture{};
}

int PixelsOff(const Picture& a, const Picture& b) {
  int off = 0;
  for (size_t i = 0; i < a.size(); i += 3) {
    off += std::max({std::abs(a[i] - b[i]), std::abs(a[i + 1] - b[i + 1]),
                     std::abs(a[i + 2] - b[i + 2])}) > kChannelTolerance;
  }
  return off;
}

class Frame : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    viewerState.windowWidth = viewerState.windowHeight = kSide;
    window = Open();
    ASSERT_NE(viewerState.renderContext, nullptr);
  }
  // Sends a message to the viewer's window and draws the frame it asks for.
  void Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    ViewerWindowProc(window, message, wParam, lParam);
    ASSERT_NE(viewerState.idleHandler, nullptr) << "message " << message;
    viewerState.idleHandler();
  }
  void ExpectBaseline(const char* name) {
    const Picture frame = ReadFrame();
    const std::string path = std::string(RIBBON_BASELINES) + "/" + name + ".ppm";
    if (std::getenv("RIBBON_UPDATE_BASELINES") != nullptr) {
      ASSERT_TRUE(WritePpm(path, frame)) << path;
      return;
    }
    const Picture baseline = ReadPpm(path);
    ASSERT_FALSE(baseline.empty()) << path << ": missing; RIBBON_UPDATE_BASELINES=1 writes it";
    const int off = PixelsOff(frame, baseline);
    if (off > kPixelsAllowedOff) {
      WritePpm(std::string(name) + ".actual.ppm", frame);
    }
    EXPECT_LE(off, kPixelsAllowedOff) << name << ": pixels off; the frame is in the test's "
                                      << "working directory as " << name << ".actual.ppm";
  }
  HWND window = nullptr;
};

// Start-up, f, f p (wireframe alone), then p and a drag of the trackball: each frame drawn after
// the previous one, so that state a frame leaves behind shows in the next.
TEST_F(Frame, FramesMatchTheirBaselines) {
  Send(WM_PAINT, 0);
  ExpectBaseline("startup");
  Send(WM_CHAR, 'f');
  ExpectBaseline("fog");
  Send(WM_CHAR, 'f');
  Send(WM_CHAR, 'p');
  ExpectBaseline("wireframe");
  Send(WM_CHAR, 'p');
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 70));  // its frame turns by the stored step
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 120));
  ExpectBaseline("rotated");
}

// modelMatrix is the product of these rotations (degrees about an axis), the last applied first.
void ExpectModelMatrixIs(std::initializer_list<std::pair<float, Vec3>> rotations) {
  GLfloat product[16];
  glPushMatrix();
  glLoadIdentity();
  for (const auto& [degrees, axis] : rotations) {
    glRotatef(degrees, axis.x, axis.y, axis.z);
  }
  glGetFloatv(GL_MODELVIEW_MATRIX, product);
  glPopMatrix();
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(viewerState.modelMatrix[i], product[i], 1e-5) << "element " << i;
  }
}

// A later increment acts about its axis on the screen, whatever the model's orientation;
// increments that turn by nothing, or by something undefined, leave modelMatrix as it is.
TEST_F(Frame, FoldingTheIncrement) {
  const Vec3 axis = {0.3f, 0.2f, 0.4f};
  viewerState.rotating = 1;
  RenderFrame(DrawMesh);
  viewerState.rotationAngle = 90.0f;
  viewerState.rotationAxis = {1, 0, 0};
  RenderFrame(DrawMesh);
  ExpectModelMatrixIs({{90.0f, {1, 0, 0}}, {2.0f, axis}});
  const std::vector<float> before(viewerState.modelMatrix, viewerState.modelMatrix + 16);
  const std::pair<float, Vec3> cases[] = {{0.0f, axis}, {30.0f, {0, 0, 0}}, {std::nanf(""), axis}};
  for (const auto& [angle, turnAxis] : cases) {
    viewerState.rotationAngle = angle;
    viewerState.rotationAxis = turnAxis;
    RenderFrame(DrawMesh);
    EXPECT_EQ(std::vector<float>(viewerState.modelMatrix, viewerState.modelMatrix + 16), before);
  }
}

// 1e5 folds of the default 2-degree increment: uncorrected, the columns' dot products drift by
// about 0.006; corrected, they stay near 1e-7.
TEST_F(Frame, ManyFoldsStayARotation) {
  for (int fold = 0; fold < 100000; ++fold) {
    FoldRotationIncrement();
  }
  const float* m = viewerState.modelMatrix;
  for (int a = 0; a < 9; ++a) {
    const float *u = &m[4 * (a / 3)], *v = &m[4 * (a % 3)];
    EXPECT_NEAR(double(u[0]) * v[0] + double(u[1]) * v[1] + double(u[2]) * v[2], a % 4 == 0, 1e-6);
  }
}

}  // namespace
