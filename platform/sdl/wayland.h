// SDL's Wayland driver as the layer finds it (wayland.cpp), and the box it draws itself there
// (drawn_box.cpp).
#pragma once

#include <SDL.h>

namespace sdl {

enum class WaylandSession { kNone, kNoSeat, kUsable };
// Whether a Wayland compositor answers at WAYLAND_DISPLAY, and whether it offers a seat.
WaylandSession AskWaylandSession();
bool OnWaylandDriver();
// A shown window keeps its size: equal minimum and maximum, also on SDLs that send none.
void KeepSizeOnWayland(SDL_Window* window);
// A modal box of the layer's own, drawn through SDL with a built-in font; Return, Space, Esc, its
// OK button and its close button end it. 0 when it was shown.
int ShowDrawnBox(const char* caption, const char* text);

}  // namespace sdl
