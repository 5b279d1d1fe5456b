// Icon 101 as Windows itself finds it in a program built with resources/ribbon.rc.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32.h"

namespace {

const BYTE* FindResourceBytes(WORD name, WORD type, DWORD* size) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(name), MAKEINTRESOURCEA(type));
  *size = found != nullptr ? SizeofResource(module, found) : 0;
  return found != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(module, found)))
                          : nullptr;
}

TEST(WindowsIconResource, LoadIconFindsGroup101OfTwo32x32Images) {
  EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101)), nullptr);
  DWORD size = 0;
  const BYTE* group = FindResourceBytes(101, 14 /* RT_GROUP_ICON */, &size);
  ASSERT_EQ(size, 6u + 2 * 14);
  ASSERT_EQ(group[4], 2);
  for (const BYTE* entry = group + 6; entry < group + size; entry += 14) {  // GRPICONDIRENTRY
    WORD bits, id;
    DWORD bytes, imageSize;
    std::memcpy(&bits, entry + 6, 2);
    std::memcpy(&bytes, entry + 8, 4);
    std::memcpy(&id, entry + 12, 2);
    EXPECT_EQ(entry[0] << 8 | entry[1], 32 << 8 | 32);
    EXPECT_EQ(bits, entry == group + 6 ? 4 : 8);
    const BYTE* image = FindResourceBytes(id, 3 /* RT_ICON */, &imageSize);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageSize, bytes);
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(image)->biBitCount, bits);
  }
}

}  // namespace
