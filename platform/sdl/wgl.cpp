// GL contexts are SDL's, the swap is SDL's swap. The first context is the one that described
// the window's format, kept for it (windowing.cpp).
#include "platform/sdl/layer.h"

namespace sdl {

HGLRC CreateContext(const core::WindowFields& window) {
  if (SDL_GLContext spare = window.native->spareContext) {
    window.native->spareContext = nullptr;
    return static_cast<HGLRC>(spare);
  }
  return static_cast<HGLRC>(SDL_GL_CreateContext(window.native->sdl));
}

bool MakeContextCurrent(const core::WindowFields* window, HGLRC context) {
  if (window == nullptr) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
      SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    }
    return true;
  }
  return SDL_GL_MakeCurrent(window->native->sdl, context) == 0;
}

void DeleteContext(HGLRC context) {
  SDL_GL_DeleteContext(context);
}

bool SwapNativeBuffers(const core::WindowFields& window) {
  SDL_GL_SwapWindow(window.native->sdl);
  return true;
}

}  // namespace sdl
