// Pixel formats and WGL. The layer offers one format, index 1: what the window really gets is
// decided when SetPixelFormat makes the SDL window with GL attributes from the request.
#include "platform/sdl/layer.h"

#include "platform/sdl/driver_preload.h"

constexpr int kFormatCount = 1;

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
  if (LookUpWindowOfDC(deviceContext) == nullptr || request == nullptr ||
      (request->dwFlags & (PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW)) !=
          (PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW) ||
      TakeFault(LayerFault::kChoosePixelFormat)) {
    return 0;
  }
  return 1;
}

// Displays are true-colour: whatever the request says, at least 8 bits per channel.
static void SetGlAttributes(const PIXELFORMATDESCRIPTOR& request) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.cAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.cDepthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.cStencilBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (request.dwFlags & PFD_DOUBLEBUFFER) != 0 ? 1 : 0);
}

static int GlAttribute(SDL_GLattr attribute) {
  int value = 0;
  SDL_GL_GetAttribute(attribute, &value);
  return value;
}

static BYTE MaskShift(Uint32 mask) {
  BYTE shift = 0;
  while (mask != 0 && (mask & 1u) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// What the window's framebuffer really has, read through a context (the viewer describes the
// format before it creates its own). Making a context costs milliseconds, so this one is kept
// and handed out by the first wglCreateContext instead of being made twice.
static void DescribeSdlWindow(LayerWindow& window) {
  PIXELFORMATDESCRIPTOR& description = window.described;
  description = PIXELFORMATDESCRIPTOR{};
  description.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  description.nVersion = 1;
  description.iPixelType = PFD_TYPE_RGBA;
  description.iLayerType = PFD_MAIN_PLANE;
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
  SDL_GLContext probe = SDL_GL_CreateContext(window.sdl);
  window.spareContext = probe;
  if (probe != nullptr) {
    description.cRedBits = static_cast<BYTE>(GlAttribute(SDL_GL_RED_SIZE));
    description.cGreenBits = static_cast<BYTE>(GlAttribute(SDL_GL_GREEN_SIZE));
    description.cBlueBits = static_cast<BYTE>(GlAttribute(SDL_GL_BLUE_SIZE));
    description.cAlphaBits = static_cast<BYTE>(GlAttribute(SDL_GL_ALPHA_SIZE));
    description.cDepthBits = static_cast<BYTE>(GlAttribute(SDL_GL_DEPTH_SIZE));
    description.cStencilBits = static_cast<BYTE>(GlAttribute(SDL_GL_STENCIL_SIZE));
    description.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                          (GlAttribute(SDL_GL_DOUBLEBUFFER) != 0 ? PFD_DOUBLEBUFFER : 0);
    SDL_GL_MakeCurrent(previousWindow, previousContext);
  }
  description.cColorBits =
      static_cast<BYTE>(description.cRedBits + description.cGreenBits + description.cBlueBits);
  Uint32 red = 0, green = 0, blue = 0, alpha = 0;
  int bits = 0;
  SDL_PixelFormatEnumToMasks(SDL_GetWindowPixelFormat(window.sdl), &bits, &red, &green, &blue,
                             &alpha);
  description.cRedShift = MaskShift(red);
  description.cGreenShift = MaskShift(green);
  description.cBlueShift = MaskShift(blue);
  description.cAlphaShift = MaskShift(alpha);
}

// On X11 the visual is chosen here, so that the depth buffer is the one the request names when
// the display has it (SDL would take the deepest). Elsewhere SDL's own choice already prefers
// the closest sizes.
static bool CreateSdlWindowForRequest(LayerWindow& window, const PIXELFORMATDESCRIPTOR& request) {
  const char* driver = SDL_GetCurrentVideoDriver();
  const unsigned long visual =
      driver != nullptr && SDL_strcmp(driver, "x11") == 0 ? ChooseGlxVisual(request) : 0;
  if (visual == 0) {
    return CreateSdlWindow(window);
  }
  const std::string visualId = std::to_string(visual);
  SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, visualId.c_str());
  const bool created = CreateSdlWindow(window);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
  return created;
}

bool CreateSdlWindow(LayerWindow& window) {
  EnsureVideo();
  FinishDriverPreload();
  // Never resizable, whatever the style: a window manager does not wait for WM_SIZE's answer
  // (a maximised window keeps its size against the client's), so the window manager must see
  // one size, equal minimum and maximum, and offer no maximising. SetWindowPos still resizes.
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  POINT origin = window.x == SDL_WINDOWPOS_UNDEFINED ? POINT{0, 0} : PrimaryOrigin();
  window.sdl = SDL_CreateWindow(window.title.c_str(), origin.x + window.x, origin.y + window.y,
                                window.width, window.height, flags);
  if (window.sdl == nullptr) {
    return false;
  }
  SDL_GetWindowPosition(window.sdl, &window.x, &window.y);
  window.x -= origin.x;
  window.y -= origin.y;
  ApplyIcon(window);
  DescribeSdlWindow(window);
  return true;
}

void DestroySdlWindow(LayerWindow& window) {
  if (window.spareContext != nullptr) {
    SDL_GL_DeleteContext(window.spareContext);
    window.spareContext = nullptr;
  }
  if (window.sdl != nullptr) {
    SDL_DestroyWindow(window.sdl);
    window.sdl = nullptr;
  }
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || request == nullptr || format < 1 || format > kFormatCount ||
      TakeFault(LayerFault::kSetPixelFormat)) {
    return FALSE;
  }
  // As on Windows, a window's format is set once for its life.
  if (window->pixelFormat != 0) {
    return window->pixelFormat == format ? TRUE : FALSE;
  }
  bool wasVisible = window->visible;
  DestroySdlWindow(*window);
  EnsureVideo();
  FinishDriverPreload();
  SetGlAttributes(*request);
  if (!CreateSdlWindowForRequest(*window, *request)) {
    window->visible = false;
    return FALSE;
  }
  window->pixelFormat = format;
  if (wasVisible) {
    SDL_ShowWindow(window->sdl);
  }
  return TRUE;
}

int DescribePixelFormat(HDC deviceContext, int format, UINT bytes,
                        PIXELFORMATDESCRIPTOR* description) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr) {
    return 0;
  }
  if (description == nullptr) {
    return kFormatCount;
  }
  if (bytes < sizeof(PIXELFORMATDESCRIPTOR)) {
    return 0;
  }
  if (const PIXELFORMATDESCRIPTOR* override = DescribedFormatOverride()) {
    *description = *override;
    return kFormatCount;
  }
  if (format < 1 || format > kFormatCount || window->sdl == nullptr) {
    return 0;
  }
  *description = window->described;
  return kFormatCount;
}

BOOL SwapBuffers(HDC deviceContext) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || window->sdl == nullptr) {
    return FALSE;
  }
  NoteCall("SwapBuffers");
  SDL_GL_SwapWindow(window->sdl);
  return TRUE;
}

// An HGLRC is SDL's context; wglMakeCurrent needs the window, found through the DC.
HGLRC wglCreateContext(HDC deviceContext) {
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || window->sdl == nullptr || TakeFault(LayerFault::kCreateContext)) {
    return nullptr;
  }
  if (window->spareContext != nullptr) {
    SDL_GLContext context = window->spareContext;
    window->spareContext = nullptr;
    return static_cast<HGLRC>(context);
  }
  return static_cast<HGLRC>(SDL_GL_CreateContext(window->sdl));
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
  LayerWindow* window = LookUpWindowOfDC(deviceContext);
  if (window == nullptr || window->sdl == nullptr) {
    return FALSE;
  }
  return SDL_GL_MakeCurrent(window->sdl, renderContext) == 0 ? TRUE : FALSE;
}

BOOL wglDeleteContext(HGLRC renderContext) {
  NoteCall("wglDeleteContext", reinterpret_cast<std::uintptr_t>(renderContext));
  if (renderContext == nullptr) {
    return FALSE;
  }
  SDL_GL_DeleteContext(renderContext);
  return TRUE;
}
