// The SDL2 backend's start, its desktop (message boxes, screen, capture, clock) and its table.
#include "platform/sdl/layer.h"
#include "platform/sdl/video_start.h"
#include "platform/sdl/wayland.h"

#include <cstdio>

namespace sdl {

bool OnHeadlessDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || SDL_strcmp(driver, "offscreen") == 0 ||
         SDL_strcmp(driver, "dummy") == 0;
}

bool OnX11Driver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && SDL_strcmp(driver, "x11") == 0;
}

static bool Open() {
  // A Win32 program closes through WM_CLOSE per window: SDL must not add a quit of its own when
  // the last window closes, and Ctrl+C ends the process as it does any other.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A click that activates a window still reaches it, as on Windows.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  return OpenVideo();
}

POINT PrimaryOrigin() {
  SDL_Rect bounds = {};
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDisplayBounds(0, &bounds) != 0) {
    return POINT{0, 0};
  }
  return POINT{bounds.x, bounds.y};
}

HWND WindowOfSdl(Uint32 sdlWindowId) {
  SDL_Window* sdl = SDL_WasInit(SDL_INIT_VIDEO) != 0 ? SDL_GetWindowFromID(sdlWindowId) : nullptr;
  return sdl == nullptr ? nullptr : static_cast<HWND>(SDL_GetWindowData(sdl, kWindowHandle));
}

// A headless driver has no screen for a box, and a box shown on some other display would wait
// for a user who is not there. A box before SDL's video has started has no window to belong to.
static void ShowMessageBox(const core::WindowFields* owner, const char* text, const char* caption,
                           bool error) {
  const Uint32 flags = error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  int shown = 0;
  if (VideoPending()) {
    shown = ShowBoxWhileVideoStarts(flags, caption, text);
  } else if (OnWaylandDriver()) {
    shown = ShowDrawnBox(caption, text);
  } else if (!OnHeadlessDriver()) {
    SDL_Window* parent = owner != nullptr && owner->visible ? SdlWindow(owner) : nullptr;
    shown = SDL_ShowSimpleMessageBox(flags, caption, text, parent);
  }
  if (shown != 0) {
    // The user must not lose what the box had to say.
    std::fprintf(stderr, "ribbon: %s: %s\n", caption, text);
  }
}

static POINT ScreenSize() {
  FinishVideoStart();
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return POINT{0, 0};
  }
  return POINT{mode.w, mode.h};
}

// SDL refuses when no window has the keyboard focus; the core routes the pointer anyway.
static void CapturePointer(const core::WindowFields* window) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_CaptureMouse(window != nullptr ? SDL_TRUE : SDL_FALSE);
  }
}

static double Now() {
  return static_cast<double>(SDL_GetTicks64());
}

// GetMessageA pumps SDL's events before every look at the queue, and nothing posts while it
// waits: there is no wait to end.
static void Wake() {}

}  // namespace sdl

const core::Backend core::backend = {
    .openDisplay = sdl::Open,
    .createNativeWindow = sdl::CreateNativeWindow,
    .describeNativeFormat = sdl::DescribeNativeFormat,
    .showNativeWindow = sdl::ShowNativeWindow,
    .placeNativeWindow = sdl::PlaceNativeWindow,
    .destroyNativeWindow = sdl::DestroyNativeWindow,
    .createContext = sdl::CreateContext,
    .makeContextCurrent = sdl::MakeContextCurrent,
    .deleteContext = sdl::DeleteContext,
    .swapNativeBuffers = sdl::SwapNativeBuffers,
    .capturePointer = sdl::CapturePointer,
    .showMessageBox = sdl::ShowMessageBox,
    .screenSize = sdl::ScreenSize,
    .now = sdl::Now,
    .pump = sdl::Pump,
    .wait = sdl::Wait,
    .wake = sdl::Wake,
};
