/* Times a program from its launch to the first window it maps on the X display: forks, execs the
   program, waits for the first MapNotify among the root window's children, prints the
   milliseconds and ends the program's process group (SIGTERM): SDL shows its boxes from a
   process of their own. The box's MapNotify is when a window manager, or
   the X server without one, puts it on screen.
   Usage: ribbon_map_timer PROGRAM [ARGUMENTS...] */
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Milliseconds(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
  Display* display = argc > 1 ? XOpenDisplay(NULL) : NULL;
  if (display == NULL) {
    fputs("usage: ribbon_map_timer PROGRAM [ARGUMENTS...] (with an X display)\n", stderr);
    return 2;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  double launched = Milliseconds();
  pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  setpgid(child, child); /* also here: the kill below must not come before the child's own */
  XEvent event;
  do {
    XNextEvent(display, &event);
  } while (event.type != MapNotify);
  printf("%.1f\n", Milliseconds() - launched);
  kill(-child, SIGTERM);
  waitpid(child, NULL, 0);
  XCloseDisplay(display);
  return 0;
}
