// Window classes and windows as far as they concern SDL windows: creation, showing, moving,
// destruction. The records, painting and device contexts are platform/win32_core/'s.
#include "platform/sdl/layer.h"

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass != nullptr) {
    NoteCall("RegisterClassA", windowClass->style,
             reinterpret_cast<std::uintptr_t>(windowClass->hIcon),
             reinterpret_cast<std::uintptr_t>(windowClass->hCursor));
  }
  if (!ClassAcceptable(windowClass) || TakeFault(LayerFault::kRegisterClass)) {
    return 0;
  }
  return AddClass(*windowClass);
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
  NoteCall("CreateWindowExA", style, static_cast<std::uintptr_t>(width),
           static_cast<std::uintptr_t>(height));
  const CoreClass* windowClass = ClassOfName(className);
  if (windowClass == nullptr || TakeFault(LayerFault::kCreateWindow)) {
    return nullptr;
  }
  auto window = std::make_unique<LayerWindow>();
  // A position left to the system is left to SDL (and the window manager).
  window->x = SDL_WINDOWPOS_UNDEFINED;
  window->y = SDL_WINDOWPOS_UNDEFINED;
  window->style = style;
  window->icon = windowClass->icon;
  return CreateCoreWindow(std::move(window), *windowClass, windowName, style, x, y, width, height);
}

// A minimised window stays visible, as on Windows; it shows nothing until it is restored, and
// then it is painted again.
void SetIconic(LayerWindow& window, bool iconic) {
  if (window.iconic == iconic) {
    return;
  }
  window.iconic = iconic;
  window.invalid = window.invalid || !iconic;
  if (window.sdl != nullptr) {
    iconic ? SDL_MinimizeWindow(window.sdl) : SDL_RestoreWindow(window.sdl);
  }
}

BOOL IsIconic(HWND window) {
  LayerWindow* record = LookUpWindow(window);
  return record != nullptr && record->iconic ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int showCommand) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  BOOL wasVisible = record->visible ? TRUE : FALSE;
  if (showCommand == SW_HIDE) {
    if (record->sdl != nullptr) {
      SDL_HideWindow(record->sdl);
    }
    record->visible = false;
    return wasVisible;
  }
  if (record->sdl == nullptr) {
    // No format was ever set: the window gets SDL's default one.
    EnsureVideo();
    SDL_GL_ResetAttributes();
    if (!CreateSdlWindow(*record)) {
      return wasVisible;
    }
  }
  SDL_ShowWindow(record->sdl);
  record->visible = true;
  record->invalid = true;
  if (MinimisingCommand(showCommand) || RestoringCommand(showCommand)) {
    SetIconic(*record, MinimisingCommand(showCommand));
  }
  return wasVisible;
}

void ForgetWindow(HWND window) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return;
  }
  if (core.capture == window) {
    DropCapture();
  }
  DestroySdlWindow(*record);
  ForgetCoreWindow(window);
}

BOOL DestroyWindow(HWND window) {
  if (LookUpWindow(window) == nullptr) {
    return FALSE;
  }
  SendMessageA(window, WM_DESTROY, 0, 0);
  ForgetWindow(window);
  return TRUE;
}

static void SizeWindow(LayerWindow& record, int width, int height) {
  record.width = width;
  record.height = height;
  record.invalid = true;
  if (record.sdl != nullptr) {
    SDL_SetWindowSize(record.sdl, width, height);
  }
  SendMessageA(WindowHandle(record), WM_SIZE, 0, MAKELPARAM(width, height));
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
  LayerWindow* record = LookUpWindow(window);
  if (record == nullptr) {
    return FALSE;
  }
  if ((flags & SWP_NOMOVE) == 0) {
    record->x = x;
    record->y = y;
    if (record->sdl != nullptr) {
      POINT origin = PrimaryOrigin();
      SDL_SetWindowPosition(record->sdl, origin.x + x, origin.y + y);
    }
  }
  bool raise = (flags & (SWP_NOZORDER | SWP_NOACTIVATE)) != (SWP_NOZORDER | SWP_NOACTIVATE);
  if (raise && record->visible && record->sdl != nullptr) {
    SDL_RaiseWindow(record->sdl);
  }
  if ((flags & SWP_NOSIZE) == 0 && (cx != record->width || cy != record->height)) {
    SizeWindow(*record, cx < 0 ? 0 : cx, cy < 0 ? 0 : cy);
  }
  return TRUE;
}

int ReleaseDC(HWND window, HDC deviceContext) {
  NoteCall("ReleaseDC", reinterpret_cast<std::uintptr_t>(window),
           reinterpret_cast<std::uintptr_t>(deviceContext));
  return LookUpWindowOfDC(deviceContext) == nullptr ? 0 : 1;
}
