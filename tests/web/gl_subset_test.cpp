// The OpenGL subset in a page: a batch that repeats the previous frame's is drawn from the GPU and
// one that changed is drawn anew, and each state that shapes the shading program shows.
#include <gtest/gtest.h>

#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cstdlib>
#include <functional>
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

// Each state that shapes the shading program changes the picture as it should, and so does a
// batch of the same size with another normal: each is drawn streamed, then twice from the batch
// cache. With OpenGL's default materials and light model, light 0 alone gives red 0.84.
TEST(GlSubset, EachStateAndEachChangedBatchShowsInThePicture) {
  GlFramebufferFormat format;
  format.width = format.height = kSide;
  GlContext* context = GlCreateContext("#canvas", format);
  ASSERT_NE(context, nullptr);
  ASSERT_TRUE(GlMakeCurrent(context));
  const GLfloat dimRed[4] = {0.1f, 0, 0, 1};
  const GLubyte texel[3] = {128, 255, 255};
  const GLfloat backDiffuse[4] = {0.4f, 0.4f, 0.4f, 1};
  const struct {
    const char* change;
    std::function<void()> apply;
    GLfloat nz;
    int red;
  } steps[] = {
      {"light 0", [] { glEnable(GL_LIGHTING), glEnable(GL_LIGHT0); }, 1, 214},
      {"a second light, +0.08",
       [&] { glLightfv(GL_LIGHT1, GL_DIFFUSE, dimRed), glEnable(GL_LIGHT1); }, 1, 235},
      {"the second light off", [] { glDisable(GL_LIGHT1); }, 1, 214},
      {"the normal turned away: ambient only", [] {}, -1, 10},
      {"the normal back", [] {}, 1, 214},
      // exp(-(1.5 * 0.5)^2) = 0.57 of the colour is left; none is fogged at eye z = 0.
      {"fog at eye depth 0.5, density 1.5",
       [] { glFogf(GL_FOG_DENSITY, 1.5f), glTranslatef(0, 0, -0.5f), glEnable(GL_FOG); }, 1, 122},
      {"a texture modulating",
       [&] {
         glDisable(GL_FOG);
         glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
         glEnable(GL_TEXTURE_2D);
       },
       1, 107},
      {"the texture replacing", [] { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE); },
       1, 128},
      {"turned away, one-sided: ambient only",
       [] { glDisable(GL_TEXTURE_2D), glRotatef(180, 0, 1, 0); }, 1, 10},
      {"turned away, two-sided: the back material",
       [&] {
         glMaterialfv(GL_BACK, GL_DIFFUSE, backDiffuse), glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
       },
       1, 112},
  };
  for (const auto& step : steps) {
    step.apply();
    for (int frame = 0; frame < 3; ++frame) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      Square(step.nz);
      EXPECT_NEAR(CentreRed(), step.red, 2) << step.change << ", frame " << frame;
      GlPresent();
    }
  }
  GlDeleteContext(context);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::exit(RUN_ALL_TESTS());
}
