// The SDL2 backend's own header, shared by the files of platform/sdl/: what it keeps of a native
// window and the pieces of its core::Backend table. Only the backend includes it.
#pragma once

#include <SDL.h>

#include "platform/win32_core/backend.h"

// A window's SDL window exists from SetPixelFormat (or a first ShowWindow) on, because SDL fixes
// the visual when it creates the window.
struct core::NativeWindow {
  SDL_Window* sdl = nullptr;
  // The context that described the window's format, kept for the first wglCreateContext.
  SDL_GLContext spareContext = nullptr;
  PIXELFORMATDESCRIPTOR described = {};
};

namespace sdl {

// SDL's offscreen and dummy drivers (or none at all): nothing a user could see.
bool OnHeadlessDriver();
bool OnX11Driver();
// The primary monitor's top-left corner in SDL's (the X screen's) coordinates: Win32 measures
// window positions from there.
POINT PrimaryOrigin();
// The name under which an SDL window keeps the handle of the window it is the native one of.
inline constexpr char kWindowHandle[] = "ribbon.hwnd";
// The window an SDL window is the native window of, or null.
HWND WindowOfSdl(Uint32 sdlWindowId);
inline SDL_Window* SdlWindow(const core::WindowFields* window) {
  return window == nullptr || window->native == nullptr ? nullptr : window->native->sdl;
}

// The native window (windowing.cpp).
core::NativeWindow* CreateNativeWindow(const core::WindowFields& window,
                                       const PIXELFORMATDESCRIPTOR* request);
bool DescribeNativeFormat(const core::WindowFields& window, PIXELFORMATDESCRIPTOR* description);
void ShowNativeWindow(const core::WindowFields& window);
void PlaceNativeWindow(const core::WindowFields& window, bool moved, bool sized, bool raise);
void DestroyNativeWindow(const core::WindowFields& window);
// GL contexts and the swap (wgl.cpp).
HGLRC CreateContext(const core::WindowFields& window);
bool MakeContextCurrent(const core::WindowFields* window, HGLRC context);
void DeleteContext(HGLRC context);
bool SwapNativeBuffers(const core::WindowFields& window);
// The X visual whose GLX config matches the request best, with the depth buffer exact when the
// display has one; 0 when there is no X display or no usable config (glx_visual.cpp). The
// display's configs are read once, by ReadGlxVisuals or else by the first choice.
unsigned long ChooseGlxVisual(const PIXELFORMATDESCRIPTOR& request);
void ReadGlxVisuals();

// Input (events.cpp).
void Pump();
void Wait(int timeout);

// X11 itself (x11.cpp). Once X11 is known to be the display: losing the X server ends the program
// with one line on stderr. Whether the pointer lies outside the window, in its client coordinates,
// and whether the left button is down.
void ExitWhenDisplayIsLost();
bool PointerOutsideWindow(SDL_Window* window, POINT* client, bool* leftDown);

}  // namespace sdl
