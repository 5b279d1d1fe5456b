// Native windows: SDL windows made for a pixel-format request, shown, placed, destroyed, and
// described as the framebuffer they really have.
#include <string>

#include "platform/sdl/layer.h"
#include "platform/sdl/video_start.h"
#include "platform/sdl/wayland.h"
#include "resources/icon.h"

namespace sdl {
namespace {

// Displays are true-colour: whatever the request says, at least 8 bits per channel.
void SetGlAttributes(const PIXELFORMATDESCRIPTOR& request) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.cAlphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.cDepthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.cStencilBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (request.dwFlags & PFD_DOUBLEBUFFER) != 0 ? 1 : 0);
}

BYTE GlAttribute(SDL_GLattr attribute) {
  int value = 0;
  SDL_GL_GetAttribute(attribute, &value);
  return static_cast<BYTE>(value);
}

BYTE MaskShift(Uint32 mask) {
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
void Describe(core::NativeWindow& native) {
  PIXELFORMATDESCRIPTOR& description = native.described;
  description = PIXELFORMATDESCRIPTOR{};
  description.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  description.nVersion = 1;
  description.iPixelType = PFD_TYPE_RGBA;
  description.iLayerType = PFD_MAIN_PLANE;
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
  native.spareContext = SDL_GL_CreateContext(native.sdl);
  if (native.spareContext != nullptr) {
    description.cRedBits = GlAttribute(SDL_GL_RED_SIZE);
    description.cGreenBits = GlAttribute(SDL_GL_GREEN_SIZE);
    description.cBlueBits = GlAttribute(SDL_GL_BLUE_SIZE);
    description.cAlphaBits = GlAttribute(SDL_GL_ALPHA_SIZE);
    description.cDepthBits = GlAttribute(SDL_GL_DEPTH_SIZE);
    description.cStencilBits = GlAttribute(SDL_GL_STENCIL_SIZE);
    description.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                          (GlAttribute(SDL_GL_DOUBLEBUFFER) != 0 ? PFD_DOUBLEBUFFER : 0);
    SDL_GL_MakeCurrent(previousWindow, previousContext);
  }
  description.cColorBits =
      static_cast<BYTE>(description.cRedBits + description.cGreenBits + description.cBlueBits);
  Uint32 red = 0, green = 0, blue = 0, alpha = 0;
  int bits = 0;
  SDL_PixelFormatEnumToMasks(SDL_GetWindowPixelFormat(native.sdl), &bits, &red, &green, &blue,
                             &alpha);
  description.cRedShift = MaskShift(red);
  description.cGreenShift = MaskShift(green);
  description.cBlueShift = MaskShift(blue);
  description.cAlphaShift = MaskShift(alpha);
}

// The built-in icon, for a class that asked LoadIconA for it.
void ApplyIcon(const core::WindowFields& window, SDL_Window* sdl) {
  if (!core::IsProgramIcon(window.icon)) {
    return;
  }
  void* pixels = const_cast<std::uint32_t*>(RibbonIconPixels());
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kIconSize, kIconSize, 32,
                                                         kIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon != nullptr) {
    SDL_SetWindowIcon(sdl, icon);
    SDL_FreeSurface(icon);
  }
}

// Never resizable, whatever the style: a window manager does not wait for WM_SIZE's answer (a
// maximised window keeps its size against the client's), so the window manager must see one
// size, equal minimum and maximum, and offer no maximising. SetWindowPos still resizes. Where
// the window lands (the platform's choice when the position was left to it) goes to the core.
SDL_Window* MakeSdlWindow(const core::WindowFields& window) {
  POINT origin = PrimaryOrigin();
  int x = window.placed ? origin.x + window.x : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
  int y = window.placed ? origin.y + window.y : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
  SDL_Window* sdl = SDL_CreateWindow(window.title.c_str(), x, y, window.width, window.height,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (sdl != nullptr) {
    SDL_SetWindowData(sdl, kWindowHandle, window.handle);
    SDL_GetWindowPosition(sdl, &x, &y);
    core::WindowMoved(window.handle, x - origin.x, y - origin.y);
  }
  return sdl;
}

// On X11 the visual is chosen here, so that the depth buffer is the one the request names when
// the display has it (SDL would take the deepest). Elsewhere SDL's own choice already prefers
// the closest sizes.
SDL_Window* MakeSdlWindowForRequest(const core::WindowFields& window,
                                    const PIXELFORMATDESCRIPTOR& request) {
  const unsigned long visual = OnX11Driver() ? ChooseGlxVisual(request) : 0;
  if (visual == 0) {
    return MakeSdlWindow(window);
  }
  const std::string visualId = std::to_string(visual);
  SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, visualId.c_str());
  SDL_Window* sdl = MakeSdlWindow(window);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
  return sdl;
}

// Shown, the window keeps its size on Wayland too, where SDL sets the limits only on a shown one.
void ShowSdlWindow(SDL_Window* sdl) {
  SDL_ShowWindow(sdl);
  KeepSizeOnWayland(sdl);
}

}  // namespace

core::NativeWindow* CreateNativeWindow(const core::WindowFields& window,
                                       const PIXELFORMATDESCRIPTOR* request) {
  // GL attributes and the GLX visual are asked of a display and a driver that may be starting.
  FinishVideoStart();
  if (request != nullptr) {
    SetGlAttributes(*request);
  } else {
    SDL_GL_ResetAttributes();
  }
  SDL_Window* sdl =
      request != nullptr ? MakeSdlWindowForRequest(window, *request) : MakeSdlWindow(window);
  if (sdl == nullptr) {
    return nullptr;
  }
  auto* native = new core::NativeWindow{sdl};
  ApplyIcon(window, sdl);
  Describe(*native);
  if (window.visible) {
    ShowSdlWindow(sdl);
  }
  return native;
}

bool DescribeNativeFormat(const core::WindowFields& window, PIXELFORMATDESCRIPTOR* description) {
  *description = window.native->described;
  return true;
}

void ShowNativeWindow(const core::WindowFields& window) {
  ShowSdlWindow(window.native->sdl);
}

void PlaceNativeWindow(const core::WindowFields& window, bool moved, bool sized, bool raise) {
  SDL_Window* sdl = window.native->sdl;
  if (moved) {
    POINT origin = PrimaryOrigin();
    SDL_SetWindowPosition(sdl, origin.x + window.x, origin.y + window.y);
  }
  if (sized) {
    SDL_SetWindowSize(sdl, window.width, window.height);
  }
  if (raise) {
    SDL_RaiseWindow(sdl);
  }
}

void DestroyNativeWindow(const core::WindowFields& window) {
  if (window.native->spareContext != nullptr) {
    SDL_GL_DeleteContext(window.native->spareContext);
  }
  SDL_DestroyWindow(window.native->sdl);
  delete window.native;
}

}  // namespace sdl
