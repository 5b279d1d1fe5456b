// Window classes and windows as far as they concern the canvas: creation, showing, moving,
// destruction. The records, painting and device contexts are platform/win32_core/'s.
#include <emscripten.h>

#include "platform/web/layer.h"

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  return ClassAcceptable(windowClass) ? AddClass(*windowClass) : 0;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
  const CoreClass* windowClass = ClassOfName(className);
  if (windowClass == nullptr) {
    return nullptr;
  }
  ListenToBrowser();
  // A position left to the system is the page's top-left corner.
  return CreateCoreWindow(std::make_unique<LayerWindow>(), *windowClass, windowName, style, x, y,
                          width, height);
}

BOOL ShowWindow(HWND window, int showCommand) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  BOOL wasVisible = record->visible ? TRUE : FALSE;
  record->visible = showCommand != SW_HIDE;
  // A minimised window stays visible, as on Windows; restored, it is painted again.
  if (MinimisingCommand(showCommand) || RestoringCommand(showCommand)) {
    record->iconic = MinimisingCommand(showCommand);
  }
  if (record->visible) {
    record->invalid = true;
    ShowCanvas(record);
  } else if (layer.canvasOwner == window) {
    ShowCanvas(nullptr);
  }
  return wasVisible;
}

// clang-format off
EM_JS(int, PageHidden, (), {
  return typeof document !== 'undefined' && document.hidden ? 1 : 0;
});
// clang-format on

// A page nobody can see (another tab, a minimised browser) is the browser's minimised window.
BOOL IsIconic(HWND window) {
  const LayerWindow* record = LookUpWindow(window);
  return record != nullptr && (record->iconic || PageHidden() != 0) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND window) {
  if (LookUpWindow(window) == nullptr) {
    return FALSE;
  }
  SendMessageA(window, WM_DESTROY, 0, 0);
  if (core.capture == window) {
    DropCapture();
  }
  if (layer.canvasOwner == window) {
    ShowCanvas(nullptr);
  }
  ForgetCoreWindow(window);
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  if ((flags & SWP_NOMOVE) == 0) {
    record->x = x;
    record->y = y;
  }
  bool resize = (flags & SWP_NOSIZE) == 0 && (cx != record->width || cy != record->height);
  if (resize) {
    record->width = cx < 0 ? 0 : cx;
    record->height = cy < 0 ? 0 : cy;
    record->invalid = true;
  }
  if (layer.canvasOwner == window) {
    ShowCanvas(record);
  }
  if (resize) {
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(record->width, record->height));
  }
  return TRUE;
}

int ReleaseDC(HWND, HDC deviceContext) {
  return LookUpWindowOfDC(deviceContext) == nullptr ? 0 : 1;
}
