// Loading the GL driver (libGL, then Mesa's driver through the first GLX context SDL makes to
// read the extensions) takes tens of milliseconds. Done on the main thread before the hint box, it
// delays the box; done after it, the first frame. A worker thread loads it while the box is up,
// and the first call that needs GL waits for it: by then the user has read the box.
// SDL opens its X display for threads (XInitThreads), and the box has a display of its own.
#include "platform/sdl/driver_preload.h"

#include <SDL.h>

#include <cstdlib>

namespace sdl {
namespace {

SDL_Thread* preload = nullptr;

// A failure shows later, when SetPixelFormat cannot make its window. The library stays loaded
// for the process: windows that come and go do not reload it.
int LoadDriver(void*) {
  SDL_SetThreadPriority(SDL_THREAD_PRIORITY_LOW);
  SDL_GL_LoadLibrary(nullptr);
  return 0;
}

}  // namespace

void StartDriverPreload() {
  static bool started = false;
  if (started) {
    return;
  }
  started = true;
  preload = SDL_CreateThread(LoadDriver, "ribbon-gl-load", nullptr);
  if (preload == nullptr) {
    LoadDriver(nullptr);
    return;
  }
  // A program that ends before its first window still lets the loader finish first.
  std::atexit(FinishDriverPreload);
}

void FinishDriverPreload() {
  if (preload != nullptr) {
    SDL_WaitThread(preload, nullptr);
    preload = nullptr;
  }
}

}  // namespace sdl
