// The generated ribbon.ico, read as a resource compiler reads it, against the pixels the SDL
// build embeds (RibbonIconPixels()).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "resources/icon.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Read(const Bytes& bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = value << 8 | bytes.at(offset + i);
  }
  return value;
}

// The 8-bpp image at `offset` as 0xAARRGGBB, row 0 at the top, alpha 0 where the AND mask is set.
std::vector<std::uint32_t> Decode8Bit(const Bytes& ico, std::size_t offset) {
  std::size_t palette = offset + 40;
  std::size_t colours = palette + 4 * 256;
  std::size_t mask = colours + kIconSize * kIconSize;
  std::vector<std::uint32_t> pixels;
  for (int row = kIconSize - 1; row >= 0; --row) {  // stored bottom-up
    for (int column = 0; column < kIconSize; ++column) {
      bool masked = ico.at(mask + row * 4 + column / 8) & (0x80 >> column % 8);
      std::size_t index = ico.at(colours + row * kIconSize + column);
      pixels.push_back(masked ? 0 : 0xFF000000u | Read(ico, palette + 4 * index, 3));
    }
  }
  return pixels;
}

TEST(IconFile, HoldsA4AndAn8Bit32x32ImageWithMasksTheSecondBeingRibbonIconPixels) {
  std::ifstream file(RIBBON_ICON_FILE, std::ios::binary);
  Bytes ico{std::istreambuf_iterator<char>(file), {}};
  ASSERT_GE(ico.size(), 38u);
  EXPECT_EQ(Read(ico, 0, 4), 0x00010000u);  // an icon, not a cursor
  ASSERT_EQ(Read(ico, 4, 2), 2u);
  std::size_t end = 6 + 16 * 2;
  for (std::uint32_t bits : {4u, 8u}) {
    SCOPED_TRACE(bits);
    std::size_t entry = bits == 4 ? 6 : 22;
    EXPECT_EQ(Read(ico, entry, 3), (bits == 4 ? 16u : 0u) << 16 | 32u << 8 | 32u);  // colours, size
    EXPECT_EQ(Read(ico, entry + 6, 2), bits);
    // Header, palette, colour rows and AND-mask rows, one image after the other.
    std::size_t size = 40 + 4 * (1u << bits) + 32 * 32 * bits / 8 + 32 * 4;
    EXPECT_EQ(Read(ico, entry + 8, 4), size);
    EXPECT_EQ(Read(ico, entry + 12, 4), end);
    EXPECT_EQ(Read(ico, end + 8, 4), 64u);  // colour and mask rows
    EXPECT_EQ(Read(ico, end + 14, 2), bits);
    end += size;
  }
  EXPECT_EQ(ico.size(), end);
  EXPECT_EQ(Decode8Bit(ico, Read(ico, 22 + 12, 4)),
            std::vector<std::uint32_t>(RibbonIconPixels(), RibbonIconPixels() + 32 * 32));
}

}  // namespace
