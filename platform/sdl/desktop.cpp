// Message boxes, screen metrics and mouse capture: what the layer asks of the desktop.
#include <cstdio>

#include "platform/sdl/layer.h"

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
  // SDL refuses when no window has the keyboard focus; the layer still routes pointer messages
  // to the captor itself.
  SDL_CaptureMouse(SDL_TRUE);
  return previous;
}

BOOL ReleaseCapture() {
  if (layer.capture != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_CaptureMouse(SDL_FALSE);
  }
  layer.capture = nullptr;
  return TRUE;
}
