// Window classes, windows and their handles, painting, device contexts and the capture.
#include <strings.h>

#include <algorithm>

#include "platform/win32_core/core.h"
#include "platform/win32_core/hooks.h"

namespace core {

State state;

bool OpenDisplay() {
  static const bool opened = backend.openDisplay();
  return opened;
}

bool MakeNative(Window& window, const PIXELFORMATDESCRIPTOR* request) {
  if (!OpenDisplay()) {
    return false;
  }
  DropNative(window);
  window.native = backend.createNativeWindow(window, request);
  return window.native != nullptr;
}

void DropNative(Window& window) {
  if (window.native != nullptr) {
    backend.destroyNativeWindow(window);
    window.native = nullptr;
  }
}

// Handles are small tagged numbers, never reused, so a stale handle is recognised as such.
constexpr std::uintptr_t kHandleBase = 0x10000;
constexpr std::uintptr_t kDeviceContextTag = 0x8;

HWND Handle(const Window& window) {
  return reinterpret_cast<HWND>(kHandleBase + (window.id << 4));
}

HDC DeviceContext(const Window& window) {
  return reinterpret_cast<HDC>(kHandleBase + (window.id << 4) + kDeviceContextTag);
}

static Window* LookUpById(std::uintptr_t value, std::uintptr_t tag) {
  if (value < kHandleBase || (value & 0xf) != tag) {
    return nullptr;
  }
  std::uintptr_t id = (value - kHandleBase) >> 4;
  for (auto& window : state.windows) {
    if (window->id == id) {
      return window.get();
    }
  }
  return nullptr;
}

Window* LookUp(HWND window) {
  return LookUpById(reinterpret_cast<std::uintptr_t>(window), 0);
}

const WindowFields* Captor() {
  return LookUp(state.capture);
}

Window* LookUpDC(HDC deviceContext) {
  return LookUpById(reinterpret_cast<std::uintptr_t>(deviceContext), kDeviceContextTag);
}

// Class names compare without regard to case, as on Windows.
static Class* LookUpClass(LPCSTR name) {
  for (auto& windowClass : state.classes) {
    if (strcasecmp(windowClass.name.c_str(), name) == 0) {
      return &windowClass;
    }
  }
  return nullptr;
}

// The first atom Windows hands out for a registered class.
constexpr ATOM kFirstClassAtom = 0xC000;

// A class named by name (any case); null when there is none. Classes are not named by atom here
// (a value below 0x10000), as the viewer names its class.
static const Class* ClassOfName(LPCSTR name) {
  return reinterpret_cast<std::uintptr_t>(name) < 0x10000 ? nullptr : LookUpClass(name);
}

template <typename Container, typename Predicate>
static void EraseIf(Container& container, Predicate predicate) {
  container.erase(std::remove_if(container.begin(), container.end(), predicate), container.end());
}

// The record goes, with its queued messages and timers, without any message.
void ForgetWindow(HWND window) {
  Window* record = LookUp(window);
  if (record == nullptr) {
    return;
  }
  DropNative(*record);
  EraseIf(state.posted, [window](const MSG& msg) { return msg.hwnd == window; });
  EraseIf(state.input, [window](const Input& in) { return in.msg.hwnd == window; });
  EraseIf(state.timers, [window](const Timer& timer) { return timer.window == window; });
  EraseIf(state.windows, [window](const auto& w) { return Handle(*w) == window; });
}

}  // namespace core

using namespace core;

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr) {
    return 0;
  }
  NoteCall("RegisterClassA", windowClass->style,
           reinterpret_cast<std::uintptr_t>(windowClass->hIcon),
           reinterpret_cast<std::uintptr_t>(windowClass->hCursor));
  if (windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr ||
      LookUpClass(windowClass->lpszClassName) != nullptr || TakeFault(LayerFault::kRegisterClass)) {
    return 0;
  }
  state.classes.push_back(Class{windowClass->lpszClassName, windowClass->lpfnWndProc,
                                windowClass->style, windowClass->hIcon});
  return static_cast<ATOM>(kFirstClassAtom + state.classes.size() - 1);
}

// Windows' default size for CW_USEDEFAULT.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  NoteCall("CreateWindowExA", style, static_cast<std::uintptr_t>(width),
           static_cast<std::uintptr_t>(height));
  const Class* windowClass = ClassOfName(className);
  if (windowClass == nullptr || TakeFault(LayerFault::kCreateWindow)) {
    return nullptr;
  }
  auto window = std::make_unique<Window>();
  window->id = state.nextWindowId++;
  window->handle = Handle(*window);
  window->procedure = windowClass->procedure;
  window->title = windowName == nullptr ? "" : windowName;
  window->style = style;
  window->icon = windowClass->icon;
  window->placed = x != CW_USEDEFAULT;
  window->x = window->placed ? x : 0;
  window->y = window->placed ? y : 0;
  window->width = width == CW_USEDEFAULT ? kDefaultWidth : width;
  window->height = width == CW_USEDEFAULT ? kDefaultHeight : height;
  HWND handle = Handle(*window);
  state.windows.push_back(std::move(window));
  CREATESTRUCTA create = {
      param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
      windowName, className, exStyle};
  LPARAM createParam = reinterpret_cast<LPARAM>(&create);
  // WM_NCCREATE answered FALSE, or WM_CREATE answered -1, refuses the creation: the window was
  // never made, so it gets WM_NCDESTROY alone, as on Windows.
  if (SendMessageA(handle, WM_NCCREATE, 0, createParam) == FALSE ||
      (LookUp(handle) != nullptr && SendMessageA(handle, WM_CREATE, 0, createParam) == -1)) {
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    ForgetWindow(handle);
    return nullptr;
  }
  return LookUp(handle) == nullptr ? nullptr : handle;
}

// The viewer shows its window once, as it starts, with the command its entry was given: each
// command shows the window as it is. Hiding and minimising are the user's, through the platform.
BOOL ShowWindow(HWND window, int) {
  Window* record = LookUp(window);
  if (record == nullptr) {
    return FALSE;
  }
  BOOL wasVisible = record->visible ? TRUE : FALSE;
  // No format was ever set: the window gets the backend's default one.
  if (record->native == nullptr && !MakeNative(*record, nullptr)) {
    return wasVisible;
  }
  // Shown, the window is painted; shown again as it is, it is not.
  record->invalid = record->invalid || !record->visible;
  record->visible = true;
  backend.showNativeWindow(*record);
  return wasVisible;
}

BOOL IsIconic(HWND window) {
  Window* record = LookUp(window);
  return record != nullptr && record->iconic ? TRUE : FALSE;
}

// WM_DESTROY, then WM_NCDESTROY, then the record goes. Called again from its own WM_DESTROY, it
// sends WM_DESTROY again, as Windows does; SendMessageA's depth limit ends a procedure that
// always does so.
BOOL DestroyWindow(HWND window) {
  Window* record = LookUp(window);
  if (record == nullptr) {
    return FALSE;
  }
  if (record->destroying) {
    SendMessageA(window, WM_DESTROY, 0, 0);
    return TRUE;
  }
  record->destroying = true;
  if (state.capture == window) {
    ReleaseCapture();
  }
  SendMessageA(window, WM_DESTROY, 0, 0);
  SendMessageA(window, WM_NCDESTROY, 0, 0);
  ForgetWindow(window);
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
  Window* record = LookUp(window);
  if (record == nullptr) {
    return FALSE;
  }
  bool move = (flags & SWP_NOMOVE) == 0;
  if (move) {
    record->placed = true;
    record->x = x;
    record->y = y;
  }
  bool resize = (flags & SWP_NOSIZE) == 0 && (cx != record->width || cy != record->height);
  if (resize) {
    record->width = std::max(cx, 0);
    record->height = std::max(cy, 0);
    record->invalid = true;
  }
  bool raise = (flags & (SWP_NOZORDER | SWP_NOACTIVATE)) != (SWP_NOZORDER | SWP_NOACTIVATE);
  if (record->native != nullptr) {
    backend.placeNativeWindow(*record, move, resize, raise && record->visible);
  }
  if (resize) {
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(record->width, record->height));
  }
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  Window* record = LookUp(window);
  if (record == nullptr) {
    return FALSE;
  }
  if (record->visible && record->invalid) {
    SendMessageA(window, WM_PAINT, 0, 0);
  }
  return TRUE;
}

// Neither backend draws a frame of its own: the window's rectangle is its client area on screen.
BOOL GetWindowRect(HWND window, RECT* rect) {
  Window* record = LookUp(window);
  if (record == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{record->x, record->y, record->x + record->width, record->y + record->height};
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  Window* record = LookUp(window);
  if (record == nullptr || rect == nullptr) {
    return FALSE;
  }
  *rect = RECT{0, 0, record->width, record->height};
  return TRUE;
}

// The whole client area is the only region kept: any rectangle invalidates or validates it all.
// No window (every window, on Windows) is nothing the viewer asks for, and fails.
static BOOL SetInvalid(HWND window, bool invalid) {
  Window* record = LookUp(window);
  if (record == nullptr) {
    return FALSE;
  }
  record->invalid = invalid;
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
  return SetInvalid(window, true);
}

BOOL ValidateRect(HWND window, const RECT*) {
  return SetInvalid(window, false);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_NCCREATE) {
    return TRUE;
  }
  if (message == WM_CLOSE) {
    DestroyWindow(window);
  } else if (message == WM_PAINT) {
    // The default painting paints nothing but still validates, or WM_PAINT would repeat.
    ValidateRect(window, nullptr);
  }
  return 0;
}

HDC GetDC(HWND window) {
  Window* record = LookUp(window);
  return record == nullptr ? nullptr : DeviceContext(*record);
}

int ReleaseDC(HWND window, HDC deviceContext) {
  NoteCall("ReleaseDC", reinterpret_cast<std::uintptr_t>(window),
           reinterpret_cast<std::uintptr_t>(deviceContext));
  return LookUpDC(deviceContext) == nullptr ? 0 : 1;
}

HWND WindowFromDC(HDC deviceContext) {
  Window* record = LookUpDC(deviceContext);
  return record == nullptr ? nullptr : Handle(*record);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  Window* record = LookUp(window);
  if (record == nullptr || paint == nullptr) {
    return nullptr;
  }
  *paint = PAINTSTRUCT{};
  paint->hdc = DeviceContext(*record);
  paint->rcPaint = RECT{0, 0, record->width, record->height};
  record->invalid = false;
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
  return LookUp(window) == nullptr ? FALSE : TRUE;
}

// The window takes the capture and the one that had it is told before the call returns, also
// when it is the same window, as Windows does.
HWND SetCapture(HWND window) {
  NoteCall("SetCapture", reinterpret_cast<std::uintptr_t>(window));
  HWND previous = state.capture;
  Window* record = LookUp(window);
  if (record == nullptr) {
    return previous;
  }
  state.capture = window;
  // A platform may refuse (SDL without the keyboard focus); the core still routes the pointer
  // messages to the captor itself.
  backend.capturePointer(record);
  if (previous != nullptr) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  }
  return previous;
}

BOOL ReleaseCapture() {
  NoteCall("ReleaseCapture");
  HWND captor = state.capture;
  if (captor != nullptr) {
    state.capture = nullptr;
    backend.capturePointer(nullptr);
    SendMessageA(captor, WM_CAPTURECHANGED, 0, 0);
  }
  return TRUE;
}
