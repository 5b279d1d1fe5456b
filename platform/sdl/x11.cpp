// What the layer asks of the X server itself, beside SDL.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include "platform/sdl/layer.h"

// The end of the X connection. Xlib's own handler prints several lines and calls exit(), whose
// clean-up then runs into the dead connection (the GL driver's above all) and may crash.
static int ReportLostDisplay(Display*) {
  static const char kLine[] = "ribbon: lost the connection to the X display\n";
  ssize_t written = write(STDERR_FILENO, kLine, sizeof(kLine) - 1);
  static_cast<void>(written);  // nothing more can be done about stderr
  _exit(1);
}

namespace sdl {

void ExitWhenDisplayIsLost() {
  XSetIOErrorHandler(ReportLostDisplay);
}

// The server's own pointer, not SDL's cached copy of it, and its left button.
bool PointerOutsideWindow(SDL_Window* window, POINT* client, bool* leftDown) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, &rootX, &rootY, &x,
                     &y, &mask)) {
    return false;
  }
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  *client = POINT{x, y};
  *leftDown = (mask & Button1Mask) != 0;
  return x < 0 || y < 0 || x >= width || y >= height;
}
}  // namespace sdl
