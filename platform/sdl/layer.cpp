// The layer's record, SDL's lazy start, and the clock and wake-up the shared core asks for.
#include "platform/sdl/layer.h"

#include "platform/sdl/driver_preload.h"

#include <cstdio>
#include <cstdlib>

Layer layer;

double Now() {
  return static_cast<double>(SDL_GetTicks64());
}

// GetMessageA pumps SDL's events before every look at the queue, and nothing posts while it
// waits: there is no wait to end.
void MessageQueued() {}

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

void EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    return;
  }
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
    std::exit(1);
  }
  if (FellBackToHeadlessDriver()) {
    std::fputs("ribbon: cannot open a display: no X11 or Wayland display answered\n", stderr);
    std::exit(1);
  }
  // Loading the GL driver is most of the cost of the first GL window: it loads while the user
  // reads the hint box.
  ExitWhenDisplayIsLost();
  StartDriverPreload();
  SDL_StartTextInput();
}

POINT PrimaryOrigin() {
  SDL_Rect bounds = {};
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDisplayBounds(0, &bounds) != 0) {
    return POINT{0, 0};
  }
  return POINT{bounds.x, bounds.y};
}

LayerWindow* LookUpSdlWindow(Uint32 sdlWindowId) {
  for (auto& record : core.windows) {
    LayerWindow& window = LayerWindowOf(*record);
    if (window.sdl != nullptr && SDL_GetWindowID(window.sdl) == sdlWindowId) {
      return &window;
    }
  }
  return nullptr;
}
