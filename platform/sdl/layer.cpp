// The layer's record, SDL's lazy start and handle encoding.
#include "platform/sdl/layer.h"

#include <cstdio>
#include <cstdlib>

Layer layer;

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
  // Loading the GL driver is most of the cost of the first GL window. Doing it now, before the
  // hint box, lets the user's reading time hide it, and keeps the driver loaded when windows come
  // and go. A failure here shows later, when SetPixelFormat cannot make its window.
  ExitWhenDisplayIsLost();
  SDL_GL_LoadLibrary(nullptr);
  SDL_StartTextInput();
}

POINT PrimaryOrigin() {
  SDL_Rect bounds = {};
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDisplayBounds(0, &bounds) != 0) {
    return POINT{0, 0};
  }
  return POINT{bounds.x, bounds.y};
}

// Handles are small tagged numbers, never reused, so a stale handle is recognised as such.
constexpr std::uintptr_t kHandleBase = 0x10000;
constexpr std::uintptr_t kDeviceContextTag = 0x8;

HWND WindowHandle(const LayerWindow& window) {
  return reinterpret_cast<HWND>(kHandleBase + (window.id << 4));
}

HDC DeviceContextHandle(const LayerWindow& window) {
  return reinterpret_cast<HDC>(kHandleBase + (window.id << 4) + kDeviceContextTag);
}

static LayerWindow* LookUpWindowById(std::uintptr_t value, std::uintptr_t tag) {
  if (value < kHandleBase || (value & 0xf) != tag) {
    return nullptr;
  }
  std::uintptr_t id = (value - kHandleBase) >> 4;
  for (auto& window : layer.windows) {
    if (window->id == id) {
      return window.get();
    }
  }
  return nullptr;
}

LayerWindow* LookUpWindow(HWND window) {
  return LookUpWindowById(reinterpret_cast<std::uintptr_t>(window), 0);
}

LayerWindow* LookUpWindowOfDC(HDC deviceContext) {
  return LookUpWindowById(reinterpret_cast<std::uintptr_t>(deviceContext), kDeviceContextTag);
}

LayerWindow* LookUpSdlWindow(Uint32 sdlWindowId) {
  for (auto& window : layer.windows) {
    if (window->sdl != nullptr && SDL_GetWindowID(window->sdl) == sdlWindowId) {
      return window.get();
    }
  }
  return nullptr;
}
