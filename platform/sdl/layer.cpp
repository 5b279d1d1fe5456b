// The SDL2 backend's start, its desktop (message boxes, screen, capture, clock) and its table.
#include "platform/sdl/driver_preload.h"
#include "platform/sdl/layer.h"

#include <cstdio>

namespace sdl {

bool OnHeadlessDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || SDL_strcmp(driver, "offscreen") == 0 ||
         SDL_strcmp(driver, "dummy") == 0;
}

// When no real display opens, SDL settles on a driver that shows nothing. That is useful only
// when asked for by name (the tests do); otherwise the user would get an invisible window.
static bool FellBackToHeadlessDriver() {
  if (!OnHeadlessDriver()) {
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  return driver == nullptr || requested == nullptr || SDL_strcasecmp(requested, driver) != 0;
}

static bool Open() {
  // A Win32 program closes through WM_CLOSE per window: SDL must not add a quit of its own when
  // the last window closes, and Ctrl+C ends the process as it does any other.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A click that activates a window still reaches it, as on Windows.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // Without a Wayland session only X11 can answer; trying Wayland anyway just adds noise.
  if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "ribbon: cannot open a display: %s\n", SDL_GetError());
    return false;
  }
  if (FellBackToHeadlessDriver()) {
    std::fputs("ribbon: cannot open a display: no X11 or Wayland display answered\n", stderr);
    SDL_Quit();
    return false;
  }
  // Loading the GL driver is most of the cost of the first GL window: it loads while the user
  // reads the hint box.
  ExitWhenDisplayIsLost();
  StartDriverPreload();
  SDL_StartTextInput();
  return true;
}

POINT PrimaryOrigin() {
  SDL_Rect bounds = {};
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDisplayBounds(0, &bounds) != 0) {
    return POINT{0, 0};
  }
  return POINT{bounds.x, bounds.y};
}

core::Window* WindowOfSdl(Uint32 sdlWindowId) {
  for (auto& window : core::state.windows) {
    SDL_Window* sdl = SdlWindow(window.get());
    if (sdl != nullptr && SDL_GetWindowID(sdl) == sdlWindowId) {
      return window.get();
    }
  }
  return nullptr;
}

// A headless driver has no screen for a box, and a box shown on some other display would wait
// for a user who is not there.
static void MessageBox(core::Window* owner, const char* text, const char* caption, bool error) {
  if (OnHeadlessDriver()) {
    return;
  }
  SDL_Window* parent = owner != nullptr && owner->visible ? SdlWindow(owner) : nullptr;
  Uint32 flags = error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, caption, text, parent) != 0) {
    // The user must not lose what the box had to say.
    std::fprintf(stderr, "ribbon: %s: %s\n", caption, text);
  }
}

static POINT ScreenSize() {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return POINT{0, 0};
  }
  return POINT{mode.w, mode.h};
}

// SDL refuses when no window has the keyboard focus; the core routes the pointer anyway.
static void CapturePointer(core::Window* window) {
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
    sdl::Open,        sdl::CreateWindow,  sdl::DescribeFormat, sdl::ShowWindow, sdl::SetIconic,
    sdl::PlaceWindow, sdl::DestroyWindow, sdl::CapturePointer, sdl::MessageBox, sdl::ScreenSize,
    sdl::Now,         sdl::Pump,          sdl::Wait,           sdl::Wake,
};
