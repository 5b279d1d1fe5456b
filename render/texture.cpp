// The checkerboard texture: a 256 x 256 pattern of 32-texel squares in the default 2D texture.
#include <new>

#include "app/viewer_state.h"
#include "render/render.h"

namespace {

constexpr int kSquareBit = 32;
constexpr GLubyte kLight = 255;
// Dark squares are a deep grey rather than black.
constexpr GLubyte kDark = 16;

}  // namespace

void FillCheckerImage(GLubyte* image) {
  for (int row = 0; row < kCheckerSize; ++row) {
    for (int column = 0; column < kCheckerSize; ++column) {
      GLubyte shade = ((row ^ column) & kSquareBit) != 0 ? kLight : kDark;
      GLubyte* texel = image + 4 * (kCheckerSize * row + column);
      texel[0] = shade;
      texel[1] = shade;
      texel[2] = shade;
      texel[3] = 255;
    }
  }
}

void CreateCheckerTexture() {
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE,
            viewerState.textureReplace != 0 ? GL_REPLACE : GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);

  // Without memory the texture simply stays empty; it is optional decoration.
  GLubyte* image = new (std::nothrow) GLubyte[4 * kCheckerSize * kCheckerSize];
  if (image == nullptr) {
    return;
  }
  FillCheckerImage(image);
  // The alpha bytes are supplied but not kept: the texture has three components.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kCheckerSize, kCheckerSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               image);
  delete[] image;
}
