// The OpenGL subset in a page: a batch that repeats the previous frame's is drawn from the GPU and
// one that changed is drawn anew, and the texture modes show (fidelity.js checks the states the
// viewer's frames use).
#include <gtest/gtest.h>

#include <webgl/webgl1.h>

#include <initializer_list>
#include <utility>

#include "platform/webgl/include/GL/gl.h"
#include "platform/webgl/webgl.h"

namespace {

constexpr int kSide = 16;

int CentreRed() {
  unsigned char rgba[4];
  emscripten_glReadPixels(kSide / 2, kSide / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return rgba[0];
}

// The whole viewport, counter-clockwise as the viewer sees it untransformed, with the normal
// (0, 0, nz).
void Square(GLfloat nz) {
  glBegin(GL_TRIANGLES);
  for (auto [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}}) {
    glNormal3f(0, 0, nz);
    glVertex3f(x, y, 0);
  }
  glEnd();
}

// A batch of the same size with another normal changes the picture: each is drawn streamed, then
// twice from the batch cache. With OpenGL's default materials and light model, light 0 alone gives
// red 0.84.
TEST(GlSubset, EachChangedBatchShowsInThePicture) {
  GlFramebufferFormat format;
  format.width = format.height = kSide;
  GlContext* context = GlCreateContext("#canvas", format);
  ASSERT_NE(context, nullptr);
  ASSERT_TRUE(GlMakeCurrent(context));
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  // The normal towards the eye, turned away (ambient only) and back.
  for (auto [nz, red] : {std::pair{1.0f, 214}, {-1.0f, 10}, {1.0f, 214}}) {
    for (int frame = 0; frame < 3; ++frame) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      Square(nz);
      EXPECT_NEAR(CentreRed(), red, 2) << "normal z " << nz << ", frame " << frame;
      GlPresent();
    }
  }
  // A texture modulating the lit colour (128 of 255), then replacing it.
  const GLubyte texel[3] = {128, 255, 255};
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
  glEnable(GL_TEXTURE_2D);
  for (auto [mode, red] : {std::pair{GL_MODULATE, 107}, {GL_REPLACE, 128}}) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Square(1);
    EXPECT_NEAR(CentreRed(), red, 2) << "texture mode " << mode;
    GlPresent();
  }
  GlDeleteContext(context);
}

}  // namespace
