// An 8-bit display that needs a palette: red 3 bits at 0, green 3 bits at 3, blue 2 bits at 6.
#pragma once

#include "platform/win32.h"

inline PIXELFORMATDESCRIPTOR PaletteFormat332() {
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_NEED_PALETTE;
  format.cColorBits = 8;
  format.cRedBits = 3;
  format.cGreenBits = 3;
  format.cGreenShift = 3;
  format.cBlueBits = 2;
  format.cBlueShift = 6;
  return format;
}
