// Icon 101 as Windows itself finds and decodes it in a program built with resources/ribbon.rc:
// the group, its two images, and the decoded pixels against RibbonIconPixels().
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/win32.h"
#include "resources/icon.h"

namespace {

#pragma pack(push, 2)
// One entry of an RT_GROUP_ICON resource (GRPICONDIRENTRY).
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInResource;
  WORD id;
};
#pragma pack(pop)

struct ResourceBytes {
  const BYTE* data;
  DWORD size;
};

ResourceBytes FindResourceBytes(LPCSTR name, LPCSTR type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, type);
  if (found == nullptr) {
    return {nullptr, 0};
  }
  return {static_cast<const BYTE*>(LockResource(LoadResource(module, found))),
          SizeofResource(module, found)};
}

std::vector<GroupIconEntry> GroupEntries() {
  ResourceBytes group = FindResourceBytes(MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(14));
  std::vector<GroupIconEntry> entries;
  if (group.data == nullptr) {
    return entries;
  }
  WORD count = reinterpret_cast<const WORD*>(group.data)[2];
  const auto* first = reinterpret_cast<const GroupIconEntry*>(group.data + 6);
  entries.assign(first, first + count);
  return entries;
}

// The icon image with the given resource id, as the system decodes it: 0xAARRGGBB pixels, row 0
// at the top, alpha 0 where the AND mask makes the pixel transparent.
std::vector<std::uint32_t> DecodedIcon(WORD id) {
  ResourceBytes image = FindResourceBytes(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));
  HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000,
                                        kIconSize, kIconSize, LR_DEFAULTCOLOR);
  ICONINFO info = {};
  GetIconInfo(icon, &info);
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = kIconSize;
  format.bmiHeader.biHeight = -kIconSize;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> colour(kIconSize * kIconSize);
  std::vector<std::uint32_t> mask(kIconSize * kIconSize);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, kIconSize, colour.data(), &format, DIB_RGB_COLORS);
  GetDIBits(screen, info.hbmMask, 0, kIconSize, mask.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
  for (int i = 0; i < kIconSize * kIconSize; ++i) {
    colour[i] = (mask[i] & 0xFFFFFF) != 0 ? 0 : 0xFF000000u | (colour[i] & 0xFFFFFF);
  }
  return colour;
}

WORD EntryIdWithBits(WORD bitCount) {
  for (const GroupIconEntry& entry : GroupEntries()) {
    if (entry.bitCount == bitCount) {
      return entry.id;
    }
  }
  return 0;
}

TEST(WindowsIconResource, LoadIconFindsGroup101) {
  EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101)), nullptr);
}

TEST(WindowsIconResource, GroupHoldsA16AndA256Colour32x32Image) {
  std::vector<GroupIconEntry> entries = GroupEntries();
  ASSERT_EQ(entries.size(), 2u);
  std::vector<WORD> bits;
  for (const GroupIconEntry& entry : entries) {
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.colourCount, entry.bitCount == 4 ? 16 : 0);
    bits.push_back(entry.bitCount);
    // The image resource the entry names exists and its header agrees with the entry.
    ResourceBytes image = FindResourceBytes(MAKEINTRESOURCEA(entry.id), MAKEINTRESOURCEA(3));
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.size, entry.bytesInResource);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data);
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 64);  // colour rows and mask rows
    EXPECT_EQ(header->biBitCount, entry.bitCount);
  }
  EXPECT_EQ(bits, (std::vector<WORD>{4, 8}));
}

TEST(WindowsIconResource, The256ColourImageDecodesToRibbonIconPixels) {
  std::vector<std::uint32_t> decoded = DecodedIcon(EntryIdWithBits(8));
  const std::uint32_t* expected = RibbonIconPixels();
  for (int i = 0; i < kIconSize * kIconSize; ++i) {
    ASSERT_EQ(decoded[i], expected[i]) << "pixel " << i % kIconSize << "," << i / kIconSize;
  }
}

TEST(WindowsIconResource, The16ColourImageHasTheSameShapeAndColourFamilies) {
  std::vector<std::uint32_t> decoded = DecodedIcon(EntryIdWithBits(4));
  const std::uint32_t* full = RibbonIconPixels();
  int opaque = 0;
  for (int i = 0; i < kIconSize * kIconSize; ++i) {
    ASSERT_EQ(decoded[i] >> 24, full[i] >> 24) << "pixel " << i % kIconSize << "," << i / kIconSize;
    if (full[i] >> 24 != 0) {
      ++opaque;
      bool roseThere = (full[i] >> 16 & 0xFF) > (full[i] >> 8 & 0xFF);
      bool roseHere = (decoded[i] >> 16 & 0xFF) > (decoded[i] >> 8 & 0xFF);
      EXPECT_EQ(roseHere, roseThere) << "pixel " << i % kIconSize << "," << i / kIconSize;
    }
  }
  // A picture, not an empty or a filled square.
  EXPECT_GT(opaque, kIconSize * kIconSize / 8);
  EXPECT_LT(opaque, kIconSize * kIconSize * 7 / 8);
}

}  // namespace
