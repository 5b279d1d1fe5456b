// The end of the X connection. Xlib's own handler prints several lines and calls exit(), whose
// clean-up then runs into the dead connection (the GL driver's above all) and may crash.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstring>

#include "platform/sdl/layer.h"

static int ReportLostDisplay(Display*) {
  static const char kLine[] = "ribbon: lost the connection to the X display\n";
  ssize_t written = write(STDERR_FILENO, kLine, sizeof(kLine) - 1);
  static_cast<void>(written);  // nothing more can be done about stderr
  _exit(1);
}

void ExitWhenDisplayIsLost() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
    XSetIOErrorHandler(ReportLostDisplay);
  }
}
