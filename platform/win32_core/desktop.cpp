// Pixel formats, message boxes and screen metrics. Every backend offers one format, index 1:
// what the window really gets is decided when SetPixelFormat makes its native window for the
// request, and DescribePixelFormat reports that.
#include <cstdio>

#include "platform/win32_core/core.h"
#include "platform/win32_core/hooks.h"

using namespace core;

constexpr int kFormatCount = 1;

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
  constexpr DWORD kNeeded = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW;
  if (LookUpDC(deviceContext) == nullptr || request == nullptr ||
      (request->dwFlags & kNeeded) != kNeeded || TakeFault(LayerFault::kChoosePixelFormat)) {
    return 0;
  }
  return 1;
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
  Window* window = LookUpDC(deviceContext);
  if (window == nullptr || request == nullptr || format < 1 || format > kFormatCount ||
      TakeFault(LayerFault::kSetPixelFormat)) {
    return FALSE;
  }
  // As on Windows, a window's format is set once for its life.
  if (window->pixelFormat != 0) {
    return window->pixelFormat == format ? TRUE : FALSE;
  }
  if (!OpenDisplay() || !backend.createWindow(*window, request)) {
    window->visible = false;
    return FALSE;
  }
  window->pixelFormat = format;
  return TRUE;
}

int GetPixelFormat(HDC deviceContext) {
  Window* window = LookUpDC(deviceContext);
  return window == nullptr ? 0 : window->pixelFormat;
}

int DescribePixelFormat(HDC deviceContext, int format, UINT bytes,
                        PIXELFORMATDESCRIPTOR* description) {
  Window* window = LookUpDC(deviceContext);
  if (window == nullptr) {
    return 0;
  }
  if (description == nullptr) {
    return kFormatCount;
  }
  if (bytes < sizeof(PIXELFORMATDESCRIPTOR)) {
    return 0;
  }
  if (const PIXELFORMATDESCRIPTOR* override = DescribedFormatOverride()) {
    *description = *override;
    return kFormatCount;
  }
  if (format < 1 || format > kFormatCount || window->native == nullptr ||
      !backend.describeFormat(*window, description)) {
    return 0;
  }
  return kFormatCount;
}

// Modal, and usable before any window exists. Without a display the user still gets the text.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  text = text == nullptr ? "" : text;
  caption = caption == nullptr ? "Error" : caption;
  NoteMessageBox(owner, text, caption, type);
  if (!OpenDisplay()) {
    std::fprintf(stderr, "ribbon: %s: %s\n", caption, text);
    return IDOK;
  }
  backend.messageBox(LookUp(owner), text, caption, (type & MB_ICONERROR) != 0);
  return IDOK;
}

int GetSystemMetrics(int index) {
  if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || !OpenDisplay()) {
    return 0;
  }
  POINT size = backend.screenSize();
  return index == SM_CXSCREEN ? size.x : size.y;
}
