// Message boxes, screen metrics, mouse capture, icon, cursor and module handles.
#include <cstdio>

#include "platform/sdl/layer.h"
#include "resources/icon.h"

// Any distinct non-null values serve: nothing reads through these handles.
static char moduleTag;
static char iconTag;
static char cursorTag;
constexpr WORD kIconResource = 101;

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  return moduleName == nullptr ? reinterpret_cast<HMODULE>(&moduleTag) : nullptr;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  return name == MAKEINTRESOURCEA(kIconResource) ? reinterpret_cast<HICON>(&iconTag) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR) {
  return reinterpret_cast<HCURSOR>(&cursorTag);
}

void ApplyIcon(LayerWindow& window) {
  if (window.icon != reinterpret_cast<HICON>(&iconTag)) {
    return;
  }
  void* pixels = const_cast<std::uint32_t*>(RibbonIconPixels());
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kIconSize, kIconSize, 32,
                                                         kIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon != nullptr) {
    SDL_SetWindowIcon(window.sdl, icon);
    SDL_FreeSurface(icon);
  }
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  EnsureVideo();
  LayerMessageBox& box = layer.lastBox;
  box.owner = owner;
  box.text = text == nullptr ? "" : text;
  box.caption = caption == nullptr ? "Error" : caption;
  box.type = type;
  ++box.count;
  // A headless driver has no screen for a box, and a box shown on some other display would wait
  // for a user who is not there.
  if (OnHeadlessDriver()) {
    return IDOK;
  }
  LayerWindow* window = LookUpWindow(owner);
  SDL_Window* parent = window != nullptr && window->visible ? window->sdl : nullptr;
  Uint32 flags = (type & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, box.caption.c_str(), box.text.c_str(), parent) != 0) {
    // The user must not lose what the box had to say.
    std::fprintf(stderr, "ribbon: %s: %s\n", box.caption.c_str(), box.text.c_str());
  }
  return IDOK;
}

int GetSystemMetrics(int index) {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) {
    return 0;
  }
  EnsureVideo();
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return 0;
  }
  return index == SM_CXSCREEN ? mode.w : mode.h;
}

HWND SetCapture(HWND window) {
  HWND previous = layer.capture;
  if (LookUpWindow(window) == nullptr) {
    return previous;
  }
  layer.capture = window;
  if (previous != nullptr && previous != window) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  }
  // SDL refuses when no window has the keyboard focus; the layer still routes pointer messages
  // to the captor itself.
  SDL_CaptureMouse(SDL_TRUE);
  return previous;
}

void DropCapture() {
  if (layer.capture != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_CaptureMouse(SDL_FALSE);
  }
  layer.capture = nullptr;
}

BOOL ReleaseCapture() {
  HWND captor = layer.capture;
  DropCapture();
  // As on Windows, the window that loses the capture is told before the call returns.
  if (captor != nullptr) {
    SendMessageA(captor, WM_CAPTURECHANGED, 0, 0);
  }
  return TRUE;
}
