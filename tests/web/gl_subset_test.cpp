// The OpenGL subset's batch cache, in a page: a batch that repeats the previous frame's is drawn
// from the GPU, and one that changed is drawn anew, whatever the page's mesh does.
#include <gtest/gtest.h>

#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cstdlib>
#include <initializer_list>

#include "platform/webgl/include/GL/gl.h"
#include "platform/webgl/webgl.h"

namespace {

constexpr int kSide = 16;

int CentreRed() {
  unsigned char rgba[4];
  emscripten_glReadPixels(kSide / 2, kSide / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return rgba[0];
}

// The whole viewport, facing the viewer, with the normal (0, 0, nz).
void Square(GLfloat nz) {
  glBegin(GL_TRIANGLES);
  for (auto [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}}) {
    glNormal3f(0, 0, nz);
    glVertex3f(x, y, 0);
  }
  glEnd();
}

TEST(GlSubset, RepeatedBatchesAreCachedAndChangedOnesDrawnAnew) {
  GlFramebufferFormat format;
  format.width = format.height = kSide;
  GlContext* context = GlCreateContext("#canvas", format);
  ASSERT_NE(context, nullptr);
  ASSERT_TRUE(GlMakeCurrent(context));
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  // Three frames facing the light (the third drawn from the cache), three of the same size
  // turned away, and one facing again: each must show its own normal.
  for (int frame = 0; frame < 8; ++frame) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const bool facingLight = frame < 3 || frame == 7;
    Square(facingLight ? 1 : -1);
    EXPECT_NEAR(CentreRed(), facingLight ? 214 : 10, 2) << "frame " << frame;
    GlPresent();
  }
  GlDeleteContext(context);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::exit(RUN_ALL_TESTS());
}
