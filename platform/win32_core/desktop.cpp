// Pixel formats, GL contexts, the swap, message boxes and screen metrics. Every backend offers
// one format, index 1: what the window really gets is decided when SetPixelFormat makes its native
// window for the request, and DescribePixelFormat reports that. The contexts and the swap are the
// backend's; the core finds the window and keeps the record of calls.
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
  if (!MakeNative(*window, request)) {
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
      !backend.describeNativeFormat(*window, description)) {
    return 0;
  }
  return kFormatCount;
}

HGLRC wglCreateContext(HDC deviceContext) {
  Window* window = LookUpDC(deviceContext);
  if (window == nullptr || window->native == nullptr || TakeFault(LayerFault::kCreateContext)) {
    return nullptr;
  }
  return backend.createContext(*window);
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
  NoteCall("wglMakeCurrent", reinterpret_cast<std::uintptr_t>(deviceContext),
           reinterpret_cast<std::uintptr_t>(renderContext));
  if (renderContext == nullptr) {
    return backend.makeContextCurrent(nullptr, nullptr) ? TRUE : FALSE;
  }
  Window* window = LookUpDC(deviceContext);
  return window != nullptr && window->native != nullptr &&
                 backend.makeContextCurrent(window, renderContext)
             ? TRUE
             : FALSE;
}

BOOL wglDeleteContext(HGLRC renderContext) {
  NoteCall("wglDeleteContext", reinterpret_cast<std::uintptr_t>(renderContext));
  if (renderContext == nullptr) {
    return FALSE;
  }
  backend.deleteContext(renderContext);
  return TRUE;
}

BOOL SwapBuffers(HDC deviceContext) {
  Window* window = LookUpDC(deviceContext);
  if (window == nullptr || window->native == nullptr) {
    return FALSE;
  }
  NoteCall("SwapBuffers");
  return backend.swapNativeBuffers(*window) ? TRUE : FALSE;
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
  backend.showMessageBox(LookUp(owner), text, caption, (type & MB_ICONERROR) != 0);
  return IDOK;
}

int GetSystemMetrics(int index) {
  if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || !OpenDisplay()) {
    return 0;
  }
  POINT size = backend.screenSize();
  return index == SM_CXSCREEN ? size.x : size.y;
}
