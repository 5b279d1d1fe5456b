// Window classes, window records and their handles, painting, device contexts and the capture:
// the calls that touch only the records. Calls that move a platform window (ShowWindow,
// SetWindowPos, DestroyWindow) stay in the layers and use the helpers here.
#include <strings.h>

#include <algorithm>

#include "platform/win32_core/core.h"

Win32Core core;

// Handles are small tagged numbers, never reused, so a stale handle is recognised as such.
constexpr std::uintptr_t kHandleBase = 0x10000;
constexpr std::uintptr_t kDeviceContextTag = 0x8;

HWND WindowHandle(const CoreWindow& window) {
  return reinterpret_cast<HWND>(kHandleBase + (window.id << 4));
}

HDC DeviceContextHandle(const CoreWindow& window) {
  return reinterpret_cast<HDC>(kHandleBase + (window.id << 4) + kDeviceContextTag);
}

static CoreWindow* LookUpWindowById(std::uintptr_t value, std::uintptr_t tag) {
  if (value < kHandleBase || (value & 0xf) != tag) {
    return nullptr;
  }
  std::uintptr_t id = (value - kHandleBase) >> 4;
  for (auto& window : core.windows) {
    if (window->id == id) {
      return window.get();
    }
  }
  return nullptr;
}

CoreWindow* LookUpCoreWindow(HWND window) {
  return LookUpWindowById(reinterpret_cast<std::uintptr_t>(window), 0);
}

CoreWindow* LookUpCoreWindowOfDC(HDC deviceContext) {
  return LookUpWindowById(reinterpret_cast<std::uintptr_t>(deviceContext), kDeviceContextTag);
}

// Class names compare without regard to case, as on Windows.
static CoreClass* LookUpClass(LPCSTR name) {
  for (auto& windowClass : core.classes) {
    if (strcasecmp(windowClass.name.c_str(), name) == 0) {
      return &windowClass;
    }
  }
  return nullptr;
}

// The first atom Windows hands out for a registered class.
constexpr ATOM kFirstClassAtom = 0xC000;

bool ClassAcceptable(const WNDCLASSA* windowClass) {
  return windowClass != nullptr && windowClass->lpszClassName != nullptr &&
         windowClass->lpfnWndProc != nullptr && LookUpClass(windowClass->lpszClassName) == nullptr;
}

ATOM AddClass(const WNDCLASSA& windowClass) {
  core.classes.push_back(CoreClass{windowClass.lpszClassName, windowClass.lpfnWndProc,
                                   windowClass.style, windowClass.hIcon});
  return static_cast<ATOM>(kFirstClassAtom + core.classes.size() - 1);
}

const CoreClass* ClassOfName(LPCSTR name) {
  auto value = reinterpret_cast<std::uintptr_t>(name);
  if (value >= kFirstClassAtom && value < kFirstClassAtom + core.classes.size()) {
    return &core.classes[value - kFirstClassAtom];
  }
  return value < 0x10000 ? nullptr : LookUpClass(name);
}

// Windows' default size for CW_USEDEFAULT.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

HWND CreateCoreWindow(std::unique_ptr<CoreWindow> window, const CoreClass& windowClass,
                      LPCSTR windowName, DWORD style, int x, int y, int width, int height) {
  window->id = core.nextWindowId++;
  window->procedure = windowClass.procedure;
  window->title = windowName == nullptr ? "" : windowName;
  if (x != CW_USEDEFAULT) {
    window->x = x;
    window->y = y;
  }
  window->width = width == CW_USEDEFAULT ? kDefaultWidth : width;
  window->height = width == CW_USEDEFAULT ? kDefaultHeight : height;
  HWND handle = WindowHandle(*window);
  core.windows.push_back(std::move(window));
  // A procedure that answers -1 refuses its creation.
  if (SendMessageA(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (LookUpCoreWindow(handle) != nullptr && (style & WS_VISIBLE) != 0) {
    ShowWindow(handle, SW_SHOW);
  }
  return LookUpCoreWindow(handle) == nullptr ? nullptr : handle;
}

void ForgetCoreWindow(HWND window) {
  auto& queue = core.queue;
  queue.erase(std::remove_if(queue.begin(), queue.end(),
                             [window](const MSG& msg) { return msg.hwnd == window; }),
              queue.end());
  auto& timers = core.timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [window](const CoreTimer& timer) { return timer.window == window; }),
               timers.end());
  auto& windows = core.windows;
  windows.erase(
      std::remove_if(windows.begin(), windows.end(),
                     [window](const auto& record) { return WindowHandle(*record) == window; }),
      windows.end());
}

bool MinimisingCommand(int showCommand) {
  return showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
         showCommand == SW_SHOWMINNOACTIVE;
}

bool RestoringCommand(int showCommand) {
  return showCommand == SW_SHOWNORMAL || showCommand == SW_RESTORE || showCommand == SW_SHOWDEFAULT;
}

BOOL UpdateWindow(HWND window) {
  CoreWindow* record = LookUpCoreWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  if (record->visible && record->invalid) {
    SendMessageA(window, WM_PAINT, 0, 0);
  }
  return TRUE;
}

// Neither layer draws a frame of its own: the window's rectangle is its client area on screen.
BOOL GetWindowRect(HWND window, RECT* rect) {
  CoreWindow* record = LookUpCoreWindow(window);
  if (record == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{record->x, record->y, record->x + record->width, record->y + record->height};
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  CoreWindow* record = LookUpCoreWindow(window);
  if (record == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{0, 0, record->width, record->height};
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
  if (window == nullptr) {
    for (auto& record : core.windows) {
      record->invalid = true;
    }
    return TRUE;
  }
  CoreWindow* record = LookUpCoreWindow(window);
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
  CoreWindow* record = LookUpCoreWindow(window);
  return record == nullptr ? nullptr : DeviceContextHandle(*record);
}

HWND WindowFromDC(HDC deviceContext) {
  CoreWindow* record = LookUpCoreWindowOfDC(deviceContext);
  return record == nullptr ? nullptr : WindowHandle(*record);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  CoreWindow* record = LookUpCoreWindow(window);
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
  return LookUpCoreWindow(window) == nullptr ? FALSE : TRUE;
}

int GetPixelFormat(HDC deviceContext) {
  CoreWindow* window = LookUpCoreWindowOfDC(deviceContext);
  return window == nullptr ? 0 : window->pixelFormat;
}

bool TakeCapture(HWND window) {
  HWND previous = core.capture;
  if (LookUpCoreWindow(window) == nullptr) {
    return false;
  }
  core.capture = window;
  if (previous != nullptr && previous != window) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  }
  return true;
}

BOOL ReleaseCoreCapture() {
  HWND captor = core.capture;
  DropCapture();
  if (captor != nullptr) {
    SendMessageA(captor, WM_CAPTURECHANGED, 0, 0);
  }
  return TRUE;
}
