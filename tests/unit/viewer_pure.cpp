// Arithmetic of the shell and the display context that needs no window.
#include <gtest/gtest.h>

#include <cstring>

#include "app/viewer.h"
#include "display/display.h"
#include "tests/unit/palette_format.h"

TEST(WindowSize, SquareSideIsEightTenthsOfTheSmallerScreenSideTruncated) {
  EXPECT_EQ(WindowSideForScreen(1024, 768), 614);
  EXPECT_EQ(WindowSideForScreen(1280, 1024), 819);
  EXPECT_EQ(WindowSideForScreen(1920, 1080), 864);
  EXPECT_EQ(WindowSideForScreen(1080, 1920), 864);  // portrait
  EXPECT_EQ(WindowSideForScreen(1, 5), 0);
}

TEST(PixelFormatRequest, EverySettingCombination) {
  struct Case {
    BOOL doubleBuffer, depthBuffer;
    DWORD flags;
    BYTE depthBits;
  };
  const Case cases[] = {{1, 1, 0x25, 16}, {0, 1, 0x24, 16}, {1, 0, 0x25, 0}, {0, 0, 0x24, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "doubleBuffer " << c.doubleBuffer << " depthBuffer " << c.depthBuffer);
    PIXELFORMATDESCRIPTOR expected = {};
    expected.nSize = 40;
    expected.nVersion = 1;
    expected.dwFlags = c.flags;
    expected.iPixelType = PFD_TYPE_RGBA;
    expected.cColorBits = 8;
    expected.cDepthBits = c.depthBits;
    const PIXELFORMATDESCRIPTOR request = PixelFormatRequest(c.doubleBuffer, c.depthBuffer);
    // Every field, the unnamed ones included: the request is compared byte for byte.
    EXPECT_EQ(0, std::memcmp(&request, &expected, sizeof(request)));
  }
}

TEST(Palette, EntriesGiveTheColourOfEachBitField) {
  struct Case {
    int index;
    int red, green, blue;
  };
  const Case cases[] = {{1, 36, 0, 0},    {7, 255, 0, 0},   {56, 0, 255, 0},
                        {192, 0, 0, 255}, {73, 36, 36, 85}, {255, 255, 255, 255}};
  for (const Case& c : cases) {
    const PALETTEENTRY entry = PaletteEntryFor(c.index, PaletteFormat332());
    EXPECT_EQ(entry.peRed, c.red) << "entry " << c.index;
    EXPECT_EQ(entry.peGreen, c.green) << "entry " << c.index;
    EXPECT_EQ(entry.peBlue, c.blue) << "entry " << c.index;
    EXPECT_EQ(entry.peFlags, 0) << "entry " << c.index;
  }
}

TEST(Palette, ChannelsWithoutBitsOrWithWildShiftsGiveZero) {
  PIXELFORMATDESCRIPTOR format = {};
  format.iPixelType = PFD_TYPE_COLORINDEX;
  format.cColorBits = 8;
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY entry = PaletteEntryFor(i, format);
    ASSERT_EQ(entry.peRed + entry.peGreen + entry.peBlue, 0) << "entry " << i;
  }
  format.cRedBits = 200;
  format.cRedShift = 250;
  format.cGreenBits = 8;
  EXPECT_EQ(PaletteEntryFor(255, format).peRed, 0);
  EXPECT_EQ(PaletteEntryFor(255, format).peGreen, 255);
}

TEST(Palette, NeededForPaletteFlagOrColourIndexOnly) {
  PIXELFORMATDESCRIPTOR format = {};
  EXPECT_FALSE(PaletteNeeded(format));
  format.dwFlags = PFD_NEED_PALETTE;
  EXPECT_TRUE(PaletteNeeded(format));
  format.dwFlags = PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_COLORINDEX;
  EXPECT_TRUE(PaletteNeeded(format));
}
