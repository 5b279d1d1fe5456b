// Message boxes, screen metrics and mouse capture: what the layer asks of the desktop.
#include <cstdio>

#include "platform/sdl/layer.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  EnsureVideo();
  text = text == nullptr ? "" : text;
  caption = caption == nullptr ? "Error" : caption;
  NoteMessageBox(owner, text, caption, type);
  // A headless driver has no screen for a box, and a box shown on some other display would wait
  // for a user who is not there.
  if (OnHeadlessDriver()) {
    return IDOK;
  }
  LayerWindow* window = LookUpWindow(owner);
  SDL_Window* parent = window != nullptr && window->visible ? window->sdl : nullptr;
  Uint32 flags = (type & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, caption, text, parent) != 0) {
    // The user must not lose what the box had to say.
    std::fprintf(stderr, "ribbon: %s: %s\n", caption, text);
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
  NoteCall("SetCapture", reinterpret_cast<std::uintptr_t>(window));
  HWND previous = core.capture;
  if (TakeCapture(window)) {
    // SDL refuses when no window has the keyboard focus; the layer still routes pointer
    // messages to the captor itself.
    SDL_CaptureMouse(SDL_TRUE);
  }
  return previous;
}

void DropCapture() {
  if (core.capture != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_CaptureMouse(SDL_FALSE);
  }
  core.capture = nullptr;
}

BOOL ReleaseCapture() {
  NoteCall("ReleaseCapture");
  return ReleaseCoreCapture();
}
