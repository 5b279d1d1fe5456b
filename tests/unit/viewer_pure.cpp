// Arithmetic of the display context: no window needed.
#include <gtest/gtest.h>

#include <vector>

#include "display/display.h"
#include "tests/unit/palette_format.h"

// Double-buffered, so that a desktop never shows a frame half drawn; the offscreen driver's format
// cannot tell.
TEST(PixelFormatRequest, DoubleBuffered) {
  EXPECT_EQ(PixelFormatRequest(1, 1).dwFlags,
            PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
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
