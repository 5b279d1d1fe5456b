// The generated ribbon.ico, read as a Windows resource compiler reads it, against the pixels
// the SDL build embeds (RibbonIconPixels()).
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

Bytes IconFile() {
  std::ifstream file(RIBBON_ICON_FILE, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

struct Entry {
  int width, height, colours, planes, bits;
  std::uint32_t size, offset;
};

std::vector<Entry> Entries(const Bytes& ico) {
  std::vector<Entry> entries;
  for (std::uint32_t i = 0; i < Read(ico, 4, 2); ++i) {
    std::size_t at = 6 + 16 * i;
    entries.push_back({ico.at(at), ico.at(at + 1), ico.at(at + 2), int(Read(ico, at + 4, 2)),
                       int(Read(ico, at + 6, 2)), Read(ico, at + 8, 4), Read(ico, at + 12, 4)});
  }
  return entries;
}

// An image of the file decoded to 0xAARRGGBB, row 0 at the top, alpha 0 where masked.
std::vector<std::uint32_t> Decode(const Bytes& ico, const Entry& entry) {
  std::size_t palette = entry.offset + 40;
  std::size_t xorBits = palette + 4 * (std::size_t{1} << entry.bits);
  std::size_t xorRow = kIconSize * entry.bits / 8;
  std::size_t andBits = xorBits + xorRow * kIconSize;
  std::vector<std::uint32_t> pixels;
  for (int row = 0; row < kIconSize; ++row) {
    int stored = kIconSize - 1 - row;
    for (int column = 0; column < kIconSize; ++column) {
      int bit = column * entry.bits;
      int index = ico.at(xorBits + stored * xorRow + bit / 8) >> (8 - entry.bits - bit % 8) &
                  ((1 << entry.bits) - 1);
      bool masked = ico.at(andBits + stored * 4 + column / 8) & (0x80 >> (column % 8));
      pixels.push_back(masked ? 0 : 0xFF000000u | Read(ico, palette + 4 * index, 3));
    }
  }
  return pixels;
}

TEST(IconFile, HoldsA16AndA256Colour32x32ImageWithMasks) {
  Bytes ico = IconFile();
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Read(ico, 0, 2), 0u);
  EXPECT_EQ(Read(ico, 2, 2), 1u);  // an icon, not a cursor
  std::vector<Entry> entries = Entries(ico);
  ASSERT_EQ(entries.size(), 2u);
  std::uint32_t end = 6 + 16 * 2;
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.bits);
    EXPECT_EQ(e.width, 32);
    EXPECT_EQ(e.height, 32);
    EXPECT_EQ(e.planes, 1);
    EXPECT_EQ(e.colours, e.bits == 4 ? 16 : 0);
    // Images follow one another without gaps, each the size its header and layout give.
    EXPECT_EQ(e.offset, end);
    std::uint32_t expectedSize = 40 + 4 * (1u << e.bits) + 32 * 32 * e.bits / 8 + 32 * 4;
    EXPECT_EQ(e.size, expectedSize);
    end = e.offset + e.size;
    EXPECT_EQ(Read(ico, e.offset, 4), 40u);
    EXPECT_EQ(Read(ico, e.offset + 4, 4), 32u);
    EXPECT_EQ(Read(ico, e.offset + 8, 4), 64u);
    EXPECT_EQ(Read(ico, e.offset + 14, 2), std::uint32_t(e.bits));
    EXPECT_EQ(Read(ico, e.offset + 16, 4), 0u);  // uncompressed
  }
  EXPECT_EQ(entries[0].bits, 4);
  EXPECT_EQ(entries[1].bits, 8);
  EXPECT_EQ(ico.size(), end);
}

TEST(IconFile, The256ColourImageIsRibbonIconPixelsAndTheMasksAgree) {
  Bytes ico = IconFile();
  std::vector<Entry> entries = Entries(ico);
  ASSERT_EQ(entries.size(), 2u);
  std::vector<std::uint32_t> sixteen = Decode(ico, entries[0]);
  std::vector<std::uint32_t> full = Decode(ico, entries[1]);
  const std::uint32_t* embedded = RibbonIconPixels();
  int opaque = 0;
  for (int i = 0; i < kIconSize * kIconSize; ++i) {
    ASSERT_EQ(full[i], embedded[i]) << "pixel " << i % kIconSize << "," << i / kIconSize;
    ASSERT_EQ(sixteen[i] >> 24, full[i] >> 24) << "pixel " << i % kIconSize << "," << i / kIconSize;
    opaque += full[i] != 0;
  }
  EXPECT_GT(opaque, kIconSize * kIconSize / 8);
  EXPECT_LT(opaque, kIconSize * kIconSize * 7 / 8);
}

}  // namespace
