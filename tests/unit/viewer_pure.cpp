// Arithmetic of the shell, the display context and the texture: no window needed.
#include <gtest/gtest.h>

#include <vector>

#include "app/viewer.h"
#include "display/display.h"
#include "render/render.h"
#include "tests/unit/palette_format.h"

TEST(WindowSize, EightTenthsOfTheScreenHeightTruncated) {
  EXPECT_EQ(WindowSideForScreenHeight(768), 614);
  EXPECT_EQ(WindowSideForScreenHeight(1080), 864);
}

TEST(PixelFormatRequest, DoubleBufferAndDepthFollowTheSettings) {
  for (BOOL doubleBuffer : {0, 1}) {
    for (BOOL depth : {0, 1}) {
      const PIXELFORMATDESCRIPTOR r = PixelFormatRequest(doubleBuffer, depth);
      EXPECT_EQ(r.dwFlags, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                               (doubleBuffer != 0 ? PFD_DOUBLEBUFFER : 0));
      EXPECT_EQ(r.cDepthBits, depth != 0 ? 16 : 0);
      EXPECT_EQ(r.iPixelType, PFD_TYPE_RGBA);
    }
  }
}

TEST(Palette, EntriesGiveTheColourOfEachBitField) {
  const int cases[][4] = {{1, 36, 0, 0},    {7, 255, 0, 0},   {56, 0, 255, 0},
                          {192, 0, 0, 255}, {73, 36, 36, 85}, {255, 255, 255, 255}};
  for (const auto& c : cases) {  // index, red, green, blue
    const PALETTEENTRY e = PaletteEntryFor(c[0], PaletteFormat332());
    EXPECT_EQ(std::vector<int>({e.peRed, e.peGreen, e.peBlue, e.peFlags}),
              std::vector<int>({c[1], c[2], c[3], 0}))
        << "entry " << c[0];
  }
  EXPECT_TRUE(PaletteNeeded(PaletteFormat332()));
  EXPECT_FALSE(PaletteNeeded(PIXELFORMATDESCRIPTOR{}));
}

// 32-texel squares: dark (16) where row and column squares have equal parity, else light.
TEST(CheckerImage, SquaresAlternate) {
  std::vector<GLubyte> image(4 * kCheckerSize * kCheckerSize, 0xAB);
  FillCheckerImage(image.data());
  const int cases[][3] = {{0, 0, 16}, {31, 31, 16}, {0, 32, 255}, {32, 0, 255}, {255, 255, 16}};
  for (const auto& c : cases) {  // row, column, shade
    const GLubyte* t = &image[4 * (kCheckerSize * c[0] + c[1])];
    EXPECT_EQ(std::vector<int>({t[0], t[1], t[2], t[3]}), std::vector<int>({c[2], c[2], c[2], 255}))
        << c[0] << ", " << c[1];
  }
}
