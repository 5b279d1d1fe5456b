/* Preloaded into the viewer (LD_PRELOAD): at the first buffer swap it writes the depth bits of
 * the context then current, the viewer's own, to the file named by RIBBON_DEPTH_PROBE. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

#define GL_DEPTH_BITS 0x0D56

void SDL_GL_SwapWindow(void* window) {
  static int written;
  const char* path = getenv("RIBBON_DEPTH_PROBE");
  void (*getIntegerv)(unsigned, int*) =
      (void (*)(unsigned, int*))dlsym(RTLD_DEFAULT, "glGetIntegerv");
  if (!written && path != NULL && getIntegerv != NULL) {
    int bits = -1;
    getIntegerv(GL_DEPTH_BITS, &bits);
    FILE* file = fopen(path, "w");
    if (file != NULL) {
      fprintf(file, "%d\n", bits);
      fclose(file);
    }
    written = 1;
  }
  void (*next)(void*) = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
  next(window);
}
