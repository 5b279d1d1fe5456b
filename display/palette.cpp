#include <cstdint>
#include <new>

#include "app/viewer_state.h"
#include "display/display.h"

// palNumEntries is 16 bits wide, so larger formats cannot be described by one palette.
constexpr int kMaxPaletteColorBits = 15;

bool PaletteNeeded(const PIXELFORMATDESCRIPTOR& description) {
  return (description.dwFlags & PFD_NEED_PALETTE) != 0 ||
         description.iPixelType == PFD_TYPE_COLORINDEX;
}

// The 0..255 level of one colour channel of pixel value i. A channel without bits has no
// colour of its own and gives 0 instead of dividing by a zero maximum.
static BYTE ChannelLevel(int i, int bits, int shift) {
  if (bits <= 0 || shift >= 32) {
    return 0;
  }
  const std::int64_t maximum = (std::int64_t{1} << (bits < 62 ? bits : 62)) - 1;
  const std::int64_t value = (static_cast<std::int64_t>(i) >> shift) & maximum;
  return static_cast<BYTE>(value * 255 / maximum);
}

PALETTEENTRY PaletteEntryFor(int i, const PIXELFORMATDESCRIPTOR& description) {
  PALETTEENTRY entry;
  entry.peRed = ChannelLevel(i, description.cRedBits, description.cRedShift);
  entry.peGreen = ChannelLevel(i, description.cGreenBits, description.cGreenShift);
  entry.peBlue = ChannelLevel(i, description.cBlueBits, description.cBlueShift);
  entry.peFlags = 0;
  return entry;
}

// A LOGPALETTE with room for entryCount entries, or null when the memory cannot be had.
static LOGPALETTE* AllocateLogPalette(int entryCount) {
  const std::size_t bytes = sizeof(LOGPALETTE) + (entryCount - 1) * sizeof(PALETTEENTRY);
  return reinterpret_cast<LOGPALETTE*>(new (std::nothrow) unsigned char[bytes]);
}

void SetupPalette(HDC deviceContext) {
  PIXELFORMATDESCRIPTOR description = {};
  const int format = GetPixelFormat(deviceContext);
  if (DescribePixelFormat(deviceContext, format, sizeof(description), &description) == 0) {
    return;
  }
  if (!PaletteNeeded(description) || description.cColorBits > kMaxPaletteColorBits) {
    return;
  }
  const int entryCount = 1 << description.cColorBits;
  LOGPALETTE* logPalette = AllocateLogPalette(entryCount);
  if (logPalette == nullptr) {
    return;
  }
  logPalette->palVersion = 0x300;
  logPalette->palNumEntries = static_cast<WORD>(entryCount);
  PALETTEENTRY* entries = logPalette->palPalEntry;
  for (int i = 0; i < entryCount; ++i) {
    entries[i] = PaletteEntryFor(i, description);
  }
  viewerState.palette = CreatePalette(logPalette);
  delete[] reinterpret_cast<unsigned char*>(logPalette);
  if (viewerState.palette != nullptr) {
    SelectPalette(deviceContext, viewerState.palette, FALSE);
    RealizePalette(deviceContext);
  }
}
