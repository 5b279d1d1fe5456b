// Window classes, windows, their sent messages, painting and device contexts.
#include <emscripten.h>
#include <strings.h>

#include "platform/web/layer.h"

// Class names compare without regard to case, as on Windows.
static LayerClass* LookUpClass(LPCSTR name) {
  for (auto& windowClass : layer.classes) {
    if (strcasecmp(windowClass.name.c_str(), name) == 0) {
      return &windowClass;
    }
  }
  return nullptr;
}

// The first atom Windows hands out for a registered class.
constexpr ATOM kFirstClassAtom = 0xC000;

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
      windowClass->lpfnWndProc == nullptr || LookUpClass(windowClass->lpszClassName) != nullptr) {
    return 0;
  }
  layer.classes.push_back(LayerClass{windowClass->lpszClassName, windowClass->lpfnWndProc});
  return static_cast<ATOM>(kFirstClassAtom + layer.classes.size() - 1);
}

static LayerClass* ClassOfName(LPCSTR name) {
  auto value = reinterpret_cast<std::uintptr_t>(name);
  if (value >= kFirstClassAtom && value < kFirstClassAtom + layer.classes.size()) {
    return &layer.classes[value - kFirstClassAtom];
  }
  return value < 0x10000 ? nullptr : LookUpClass(name);
}

// Windows' default size for CW_USEDEFAULT.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
  LayerClass* windowClass = ClassOfName(className);
  if (windowClass == nullptr) {
    return nullptr;
  }
  ListenToBrowser();
  auto window = std::make_unique<LayerWindow>();
  window->id = layer.nextWindowId++;
  window->procedure = windowClass->procedure;
  window->title = windowName == nullptr ? "" : windowName;
  window->x = x == CW_USEDEFAULT ? 0 : x;
  window->y = x == CW_USEDEFAULT ? 0 : y;
  window->width = width == CW_USEDEFAULT ? kDefaultWidth : width;
  window->height = width == CW_USEDEFAULT ? kDefaultHeight : height;
  HWND handle = WindowHandle(*window);
  layer.windows.push_back(std::move(window));
  // A procedure that answers -1 refuses its creation.
  if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (LookUpWindow(handle) != nullptr && (style & WS_VISIBLE) != 0) {
    ShowWindow(handle, SW_SHOW);
  }
  return LookUpWindow(handle) == nullptr ? nullptr : handle;
}

BOOL ShowWindow(HWND window, int showCommand) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  BOOL wasVisible = record->visible ? TRUE : FALSE;
  record->visible = showCommand != SW_HIDE;
  // A minimised window stays visible, as on Windows; restored, it is painted again.
  if (showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
      showCommand == SW_SHOWMINNOACTIVE) {
    record->iconic = true;
  } else if (showCommand == SW_SHOWNORMAL || showCommand == SW_RESTORE ||
             showCommand == SW_SHOWDEFAULT) {
    record->iconic = false;
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

BOOL UpdateWindow(HWND window) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  if (record->visible && record->invalid) {
    SendMessageA(window, WM_PAINT, 0, 0);
  }
  return TRUE;
}

BOOL DestroyWindow(HWND window) {
  if (LookUpWindow(window) == nullptr) {
    return FALSE;
  }
  SendMessageA(window, WM_DESTROY, 0, 0);
  if (layer.capture == window) {
    DropCapture();
  }
  if (layer.canvasOwner == window) {
    ShowCanvas(nullptr);
  }
  DropQueuedMessages(window);
  DropTimers(window);
  auto& windows = layer.windows;
  for (auto it = windows.begin(); it != windows.end(); ++it) {
    if (WindowHandle(**it) == window) {
      windows.erase(it);
      break;
    }
  }
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

// A page has no frames: the window's rectangle is its client area.
BOOL GetWindowRect(HWND window, RECT* rect) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{record->x, record->y, record->x + record->width, record->y + record->height};
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{0, 0, record->width, record->height};
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
  if (window == nullptr) {
    for (auto& record : layer.windows) {
      record->invalid = true;
    }
    return TRUE;
  }
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  record->invalid = true;
  return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
  } else if (message == WM_PAINT) {
    // The default painting paints nothing but still validates, or WM_PAINT would repeat.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
  }
  return 0;
}

HDC GetDC(HWND window) {
  LayerWindow* record = LookUpWindow(window);
  return record == nullptr ? nullptr : DeviceContextHandle(*record);
}

int ReleaseDC(HWND, HDC deviceContext) {
  return LookUpWindowOfDC(deviceContext) == nullptr ? 0 : 1;
}

HWND WindowFromDC(HDC deviceContext) {
  LayerWindow* record = LookUpWindowOfDC(deviceContext);
  return record == nullptr ? nullptr : WindowHandle(*record);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr || paint == nullptr) {
    return nullptr;
  }
  *paint = PAINTSTRUCT{};
  paint->hdc = DeviceContextHandle(*record);
  paint->rcPaint = RECT{0, 0, record->width, record->height};
  record->invalid = false;
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
  return LookUpWindow(window) == nullptr ? FALSE : TRUE;
}
