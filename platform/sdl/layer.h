// The SDL2 layer's own state: one static record shared by the files of platform/sdl/, beside the
// records both layers keep alike in platform/win32_core/ (queue, timers, windows, palettes).
// Only the layer includes this header; the viewer sees platform/win32.h alone.
#pragma once

#include <SDL.h>

#include "platform/sdl/layer_hooks.h"
#include "platform/win32_core/core.h"

// A window is a record from CreateWindowExA on; its SDL window exists from SetPixelFormat (or a
// first ShowWindow) on, because SDL fixes the visual when it creates the window.
struct LayerWindow : CoreWindow {
  DWORD style = 0;
  HICON icon = nullptr;
  SDL_Window* sdl = nullptr;
  // The context that described the window's format, kept for the first wglCreateContext.
  SDL_GLContext spareContext = nullptr;
  PIXELFORMATDESCRIPTOR described = {};
};

// What the layer adds to the shared records of platform/win32_core/.
struct Layer {
  Uint32 buttons = 0;  // SDL mask of the mouse buttons held
  // Modifier keys held as of the last key event translated: SDL's own state is already that of
  // the last event pumped, which may be later than the text being translated.
  Uint16 modifiers = 0;
};
extern Layer layer;

// Initialises SDL's video on first use; ends the process with status 1 when there is no display.
void EnsureVideo();
// SDL's offscreen and dummy drivers (or none at all): nothing a user could see.
bool OnHeadlessDriver();
// The primary monitor's top-left corner in SDL's (the X screen's) coordinates: Win32 measures
// window positions from there.
POINT PrimaryOrigin();

// Every window record of this layer is a LayerWindow.
inline LayerWindow* LookUpWindow(HWND window) {
  return static_cast<LayerWindow*>(LookUpCoreWindow(window));
}
inline LayerWindow* LookUpWindowOfDC(HDC deviceContext) {
  return static_cast<LayerWindow*>(LookUpCoreWindowOfDC(deviceContext));
}
inline LayerWindow& LayerWindowOf(CoreWindow& window) {
  return static_cast<LayerWindow&>(window);
}
LayerWindow* LookUpSdlWindow(Uint32 sdlWindowId);

// Creates the window's SDL window with the GL attributes already set; false when SDL cannot.
bool CreateSdlWindow(LayerWindow& window);
void DestroySdlWindow(LayerWindow& window);
// The X visual whose GLX config matches the request best, with the depth buffer exact when the
// display has one; 0 when there is no X display or no usable config.
unsigned long ChooseGlxVisual(const PIXELFORMATDESCRIPTOR& request);
// Minimises or restores the window, as ShowWindow asks or the window manager reports.
void SetIconic(LayerWindow& window, bool iconic);
// After SDL's start on X11: losing the X server ends the program with one line on stderr.
void ExitWhenDisplayIsLost();
// On X11, whether the pointer lies outside the window, and where in its client coordinates.
bool PointerOutsideWindow(SDL_Window* window, POINT* client);
// Gives the SDL window the built-in icon when its class asked for it.
void ApplyIcon(LayerWindow& window);
// The window's whole record goes, without messages (DestroyWindow sends WM_DESTROY first).
void ForgetWindow(HWND window);

// The one place where an SDL event becomes a window message (or nothing).
void TranslateSdlEvent(const SDL_Event& event);
