/* Preloaded into an SDL program (LD_PRELOAD) to watch its frames from outside. It counts the
 * buffer swaps and records, as wall-clock nanoseconds (CLOCK_REALTIME, the clock of `date
 * +%s%N`), the end of the first and of the latest swap, the start and end of the first
 * SDL_CreateWindow and of the first SDL_ShowWindow; it also counts the OpenGL contexts created and
 * the nanoseconds spent creating them, and the depth bits of the context current at the first
 * swap (the program's own). The record is ten unsigned 64-bit words in the file named by
 * RIBBON_SWAP_COUNTER, kept mapped so that a reader sees it while the program runs:
 *   od -An -t u8 FILE  ->  swaps, first swap, latest swap, window started, window made,
 *                          show started, shown, contexts, context nanoseconds, depth bits. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

struct SwapRecord {
  uint64_t swaps;
  uint64_t firstSwap;
  uint64_t latestSwap;
  uint64_t windowStarted;
  uint64_t windowMade;
  uint64_t showStarted;
  uint64_t shown;
  uint64_t contexts;
  uint64_t contextNanoseconds;
  uint64_t depthBits;
};

static struct SwapRecord unmapped;
static struct SwapRecord* record = &unmapped;

static uint64_t WallNanoseconds(void) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
}

__attribute__((constructor)) static void MapRecord(void) {
  const char* path = getenv("RIBBON_SWAP_COUNTER");
  if (path == NULL) {
    return;
  }
  int file = open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
  if (file < 0) {
    return;
  }
  if (ftruncate(file, sizeof(struct SwapRecord)) == 0) {
    void* mapped =
        mmap(NULL, sizeof(struct SwapRecord), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    if (mapped != MAP_FAILED) {
      record = mapped;
    }
  }
  close(file);
}

static void* Next(const char* name) {
  return dlsym(RTLD_NEXT, name);
}

#define GL_DEPTH_BITS 0x0D56

// The program links OpenGL itself; looked up, so that this library needs none.
static void RecordDepthBits(void) {
  void (*getIntegerv)(unsigned, int*) =
      (void (*)(unsigned, int*))dlsym(RTLD_DEFAULT, "glGetIntegerv");
  int bits = 0;
  if (getIntegerv != NULL) {
    getIntegerv(GL_DEPTH_BITS, &bits);
  }
  record->depthBits = (uint64_t)bits;
}

void SDL_GL_SwapWindow(SDL_Window* window) {
  static void (*next)(SDL_Window*);
  if (next == NULL) {
    next = (void (*)(SDL_Window*))Next("SDL_GL_SwapWindow");
  }
  if (record->swaps == 0) {
    RecordDepthBits();
  }
  next(window);
  uint64_t now = WallNanoseconds();
  if (record->swaps == 0) {
    record->firstSwap = now;
  }
  record->latestSwap = now;
  record->swaps++;
}

SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
  static SDL_Window* (*next)(const char*, int, int, int, int, Uint32);
  if (next == NULL) {
    next = (SDL_Window * (*)(const char*, int, int, int, int, Uint32)) Next("SDL_CreateWindow");
  }
  int first = record->windowStarted == 0;
  if (first) {
    record->windowStarted = WallNanoseconds();
  }
  SDL_Window* window = next(title, x, y, w, h, flags);
  if (first) {
    record->windowMade = WallNanoseconds();
  }
  return window;
}

void SDL_ShowWindow(SDL_Window* window) {
  static void (*next)(SDL_Window*);
  if (next == NULL) {
    next = (void (*)(SDL_Window*))Next("SDL_ShowWindow");
  }
  int first = record->showStarted == 0;
  if (first) {
    record->showStarted = WallNanoseconds();
  }
  next(window);
  if (first) {
    record->shown = WallNanoseconds();
  }
}

SDL_GLContext SDL_GL_CreateContext(SDL_Window* window) {
  static SDL_GLContext (*next)(SDL_Window*);
  if (next == NULL) {
    next = (SDL_GLContext(*)(SDL_Window*))Next("SDL_GL_CreateContext");
  }
  uint64_t start = WallNanoseconds();
  SDL_GLContext context = next(window);
  record->contextNanoseconds += WallNanoseconds() - start;
  record->contexts++;
  return context;
}
