// The purely native calls: WGL contexts are SDL's GL contexts, SwapBuffers is SDL's swap.
#include "platform/sdl/layer.h"
#include "platform/win32_core/hooks.h"

using core::NoteCall;

BOOL SwapBuffers(HDC deviceContext) {
  SDL_Window* sdl = sdl::SdlWindow(core::LookUpDC(deviceContext));
  if (sdl == nullptr) {
    return FALSE;
  }
  NoteCall("SwapBuffers");
  SDL_GL_SwapWindow(sdl);
  return TRUE;
}

// An HGLRC is SDL's context; wglMakeCurrent needs the window, found through the DC.
HGLRC wglCreateContext(HDC deviceContext) {
  core::Window* window = core::LookUpDC(deviceContext);
  if (sdl::SdlWindow(window) == nullptr || core::TakeFault(LayerFault::kCreateContext)) {
    return nullptr;
  }
  if (SDL_GLContext spare = window->native->spareContext) {
    window->native->spareContext = nullptr;
    return static_cast<HGLRC>(spare);
  }
  return static_cast<HGLRC>(SDL_GL_CreateContext(window->native->sdl));
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
  NoteCall("wglMakeCurrent", reinterpret_cast<std::uintptr_t>(deviceContext),
           reinterpret_cast<std::uintptr_t>(renderContext));
  if (renderContext == nullptr) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
      SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    }
    return TRUE;
  }
  SDL_Window* sdl = sdl::SdlWindow(core::LookUpDC(deviceContext));
  return sdl != nullptr && SDL_GL_MakeCurrent(sdl, renderContext) == 0 ? TRUE : FALSE;
}

BOOL wglDeleteContext(HGLRC renderContext) {
  NoteCall("wglDeleteContext", reinterpret_cast<std::uintptr_t>(renderContext));
  if (renderContext == nullptr) {
    return FALSE;
  }
  SDL_GL_DeleteContext(renderContext);
  return TRUE;
}
