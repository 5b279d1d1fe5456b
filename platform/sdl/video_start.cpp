// On X11, SDL's video start (the server's extensions, the input method's compose table, the
// session bus) and the GL driver's loading take tens of milliseconds each, and a first message box
// needs neither: SDL shows its boxes there from a process of their own. So on X11 the display is
// only probed when it opens. A first box is shown from a process forked before anything else
// starts; once the box is on the screen, the main thread starts video, loads the driver and reads
// the GLX visuals while the user reads it, and then waits for the box to close. Started before
// the box is on the screen, that work would take a core from the box's process. SDL stays on the
// main thread, and the box's process is forked from a process of one thread. Whatever needs the
// display before any box starts video on the spot. Elsewhere video starts at once, and the driver
// loads when the screen, a window or a wait first needs the display.
#include "platform/sdl/video_start.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/sdl/layer.h"
#include "platform/sdl/wayland.h"

namespace sdl {
namespace {

// The probe's connection, kept while SDL's video has not started: it watches for the box.
Display* probe = nullptr;

// When no real display opens, SDL settles on a driver that shows nothing. That is useful only
// when asked for by name (the tests do); otherwise the user would get an invisible window.
bool FellBackToHeadlessDriver() {
  if (!OnHeadlessDriver()) {
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  return driver == nullptr || requested == nullptr || SDL_strcasecmp(requested, driver) != 0;
}

// SDL's video, on the calling thread; false, said on stderr, when it does not start.
bool StartVideo() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "ribbon: cannot open a display: %s\n", SDL_GetError());
    return false;
  }
  if (FellBackToHeadlessDriver()) {
    std::fputs("ribbon: cannot open a display: no X11 or Wayland display answered\n", stderr);
    SDL_Quit();
    return false;
  }
  if (OnX11Driver()) {
    ExitWhenDisplayIsLost();
  }
  SDL_StartTextInput();
  return true;
}

// libGL, then Mesa's driver through the first GLX context SDL makes to read the extensions; once,
// after video has started. A failure shows later, when SetPixelFormat cannot make its window. The
// library stays loaded for the process: SDL would unload it with the last GL window, and windows
// that come and go would load it afresh each time.
void LoadDriver() {
  static bool loaded = false;
  if (loaded || SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return;
  }
  loaded = true;
  SDL_GL_LoadLibrary(nullptr);
  if (OnX11Driver()) {
    ReadGlxVisuals();
  }
}

// A connection costs about a millisecond, against SDL's tens. SDL makes Xlib ready for threads,
// which must come before any other Xlib call: so it does here.
Display* ProbeX11(const char* besides) {
  XInitThreads();
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr,
                 "ribbon: cannot open a display: %sno X server answered at DISPLAY=\"%s\"\n",
                 besides, XDisplayName(nullptr));
  }
  return display;
}

void CloseProbe() {
  XCloseDisplay(probe);
  probe = nullptr;
}

// Until a window is mapped on the screen (the box's, as a rule), the box's process has ended, or
// half a second has passed. The probe selected the maps before the box's process was forked.
void WaitUntilBoxShows(pid_t box) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  pollfd connection = {ConnectionNumber(probe), POLLIN, 0};
  while (std::chrono::steady_clock::now() < end) {
    while (XPending(probe) > 0) {
      XEvent event;
      XNextEvent(probe, &event);
      if (event.type == MapNotify) {
        return;
      }
    }
    siginfo_t ended = {};
    if (waitid(P_PID, static_cast<id_t>(box), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        ended.si_pid != 0) {
      return;
    }
    poll(&connection, 1, 10);  // the box's process is looked at every 10 ms
  }
}

}  // namespace

// A Wayland compositor without a seat cannot serve: X11 where a server answers, else one line.
bool OpenVideo() {
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const bool wayland = requested == nullptr ? SDL_getenv("WAYLAND_DISPLAY") != nullptr
                                            : SDL_strcasecmp(requested, "wayland") == 0;
  const bool seatless = wayland && AskWaylandSession() == WaylandSession::kNoSeat;
  const char* kSeatless = "the Wayland compositor offers no seat (no keyboard or pointer), and ";
  if (seatless && requested != nullptr) {
    std::fprintf(stderr, "ribbon: cannot open a display: %sSDL_VIDEODRIVER asks for Wayland\n",
                 kSeatless);
    return false;
  }
  // Without a Wayland session only X11 can answer; trying Wayland anyway just adds noise.
  if (requested == nullptr && (!wayland || seatless)) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    requested = "x11";
  }
  if (requested != nullptr && SDL_strcasecmp(requested, "x11") == 0) {
    probe = ProbeX11(seatless ? kSeatless : "");
    if (probe != nullptr) {
      ExitWhenDisplayIsLost();
    }
    return probe != nullptr;
  }
  return StartVideo();
}

bool VideoPending() {
  return probe != nullptr;
}

int ShowBoxWhileVideoStarts(Uint32 flags, const char* caption, const char* text) {
  XSelectInput(probe, DefaultRootWindow(probe), SubstructureNotifyMask);
  XSync(probe, True);
  const pid_t box = fork();
  if (box == 0) {
    // The box's own process: it ends without the parent's exit handlers and buffers.
    _exit(SDL_ShowSimpleMessageBox(flags, caption, text, nullptr) == 0 ? 0 : 1);
  }
  if (box < 0) {
    FinishVideoStart();
    return SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
  }
  WaitUntilBoxShows(box);
  FinishVideoStart();
  int status = 0;
  while (waitpid(box, &status, 0) < 0 && errno == EINTR) {
  }
  // A box ended by a signal was on screen; one that could not be shown says so by its status.
  return WIFEXITED(status) && WEXITSTATUS(status) != 0 ? -1 : 0;
}

void FinishVideoStart() {
  if (probe != nullptr) {
    CloseProbe();
    StartVideo();
  }
  LoadDriver();
}

}  // namespace sdl
