// What the layer does about SDL's Wayland driver itself, beside SDL.
#include "platform/sdl/wayland.h"

#include <dlfcn.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstring>

namespace sdl {
namespace {

void NoteGlobal(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0) {
    *static_cast<bool*>(data) = true;
  }
}

void IgnoreRemoval(void*, wl_registry*, std::uint32_t) {}

}  // namespace

// One registry round trip: about a millisecond. SDL 2.26 dies inside SDL_Init on a compositor
// with no seat (weston's headless one), and on any SDL such a session has no keyboard or pointer
// to close the hint box with.
WaylandSession AskWaylandSession() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    return WaylandSession::kNone;
  }
  bool seat = false;
  wl_registry* registry = wl_display_get_registry(display);
  static const wl_registry_listener kListener = {NoteGlobal, IgnoreRemoval};
  wl_registry_add_listener(registry, &kListener, &seat);
  const bool answered = wl_display_roundtrip(display) >= 0;
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return !answered ? WaylandSession::kNone
         : seat    ? WaylandSession::kUsable
                   : WaylandSession::kNoSeat;
}

bool OnWaylandDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && SDL_strcmp(driver, "wayland") == 0;
}

// SDL 2.26 sends no size limits when it maps a toplevel, so a tiling compositor would give the
// window any size; it sends them when they are set on a shown window. The window is not
// resizable, so SDL sends its own size as both the minimum and the maximum.
void KeepSizeOnWayland(SDL_Window* window) {
  if (OnWaylandDriver()) {
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    SDL_SetWindowMinimumSize(window, width, height);
  }
}

}  // namespace sdl

// SDL's Wayland keyboard code (2.26, 2.32 and SDL 3.2 alike) looks up the keys that a virtual
// keyboard (an on-screen keyboard, a remote desktop, wtype) holds at its first focus with a layout
// it has not been told yet, XKB_LAYOUT_INVALID. libxkbcommon (1.5, 1.7) wraps that into an index
// one past the key's last layout and reads outside the key: the viewer died on its first key.
// SDL binds this function from libxkbcommon at load time, so the program's own definition comes
// first; it asks for the first layout instead, which is what SDL wants before it knows better.
// SDL 3 under sdl2-compat is opened privately, libxkbcommon with it, so the program's search order
// does not reach the library; it is then found by name among the loaded ones.
extern "C" int xkb_keymap_key_get_syms_by_level(void* keymap, std::uint32_t key,
                                                std::uint32_t layout, std::uint32_t level,
                                                const std::uint32_t** syms) {
  using Lookup = int (*)(void*, std::uint32_t, std::uint32_t, std::uint32_t, const std::uint32_t**);
  static const auto real = [] {
    constexpr const char* kName = "xkb_keymap_key_get_syms_by_level";
    void* next = dlsym(RTLD_NEXT, kName);
    if (next == nullptr) {
      void* library = dlopen("libxkbcommon.so.0", RTLD_LAZY | RTLD_NOLOAD);
      next = library != nullptr ? dlsym(library, kName) : nullptr;
    }
    return reinterpret_cast<Lookup>(next);
  }();
  if (real == nullptr) {
    return 0;
  }
  return real(keymap, key, layout == UINT32_MAX ? 0 : layout, level, syms);
}
