// The browser layer's own state: one static record shared by the files of platform/web/, beside
// the records both layers keep alike in platform/win32_core/ (queue, timers, windows, palettes).
// Only the layer includes this header; the viewer sees platform/win32.h alone.
//
// Supported in a page (the page's one canvas, #canvas, shows the window last shown):
//  - window classes, CreateWindowExA (WM_CREATE sent), ShowWindow, UpdateWindow (WM_PAINT sent
//    when invalid), SetWindowPos (WM_SIZE sent on a real size change), DestroyWindow (WM_DESTROY
//    sent; the canvas is hidden), GetWindowRect, GetClientRect, IsIconic (the page is hidden),
//    DefWindowProcA (WM_CLOSE destroys the window); the title is the page's title; a minimised
//    window (ShowWindow) shows nothing until it is restored
//  - the queue of platform/win32_core/, as the SDL2 layer has it: posted and input messages
//    first, then WM_QUIT, then WM_PAINT and WM_TIMER; GetMessageA waits on the browser (ASYNCIFY)
//  - input on the canvas: WM_MOUSEMOVE, WM_[LMR]BUTTON{DOWN,UP}, WM_KEYDOWN/UP, WM_CHAR through
//    TranslateMessage; SetCapture is pointer capture; a page shown again is an exposure
//  - SetTimer/KillTimer without callbacks, GetSystemMetrics (the browser's viewport),
//    MessageBoxA (a modal box on the page, also before any window exists), LoadIconA, LoadCursorA
//  - GetDC/ReleaseDC/WindowFromDC, one pixel format, SwapBuffers (presents, then waits for the
//    next animation frame), WGL on the OpenGL subset of platform/webgl/
//  - palettes are kept as objects and do nothing visible
//  - keys with Alt are WM_SYSKEYDOWN/UP and type WM_SYSCHAR; Ctrl+letter types its control
//    character; a capture taken by another window or lost by the page sends WM_CAPTURECHANGED
// Not supported: more than one visible window, child windows, menus, timer callbacks.
#pragma once

#include "platform/webgl/webgl.h"
#include "platform/win32_core/core.h"

// A window is a record; the page's one canvas shows the window that was last shown.
struct LayerWindow : CoreWindow {
  GlFramebufferFormat format;
};

// What the browser reported, reduced to what a window message needs.
struct BrowserEvent {
  enum Kind { kMouseDown, kMouseUp, kMouseMove, kKeyDown, kKeyUp, kCaptureLost, kPageShown } kind;
  int x = 0;  // relative to the canvas
  int y = 0;
  int button = 0;   // DOM numbering: 0 left, 1 middle, 2 right
  int buttons = 0;  // DOM mask: 1 left, 2 right, 4 middle
  bool shift = false;
  bool control = false;
  bool alt = false;
  int keyCode = 0;       // DOM keyCode: Windows' virtual-key code for the keys in question
  WPARAM character = 0;  // what the key types, 0 for none
  bool repeat = false;
};

// What the layer adds to the shared records of platform/win32_core/.
struct Layer {
  HWND canvasOwner = nullptr;
  // The character each virtual key typed last, for TranslateMessage.
  WPARAM typed[256] = {};
};
extern Layer layer;

// Every window record of this layer is a LayerWindow.
inline LayerWindow* LookUpWindow(HWND window) {
  return static_cast<LayerWindow*>(LookUpCoreWindow(window));
}
inline LayerWindow* LookUpWindowOfDC(HDC deviceContext) {
  return static_cast<LayerWindow*>(LookUpCoreWindowOfDC(deviceContext));
}

// Starts listening to the page's input once; nothing happens outside a browser.
void ListenToBrowser();
// The one place where a browser event becomes a window message (or nothing).
void TranslateBrowserEvent(const BrowserEvent& event);
// Ends GetMessageA's wait, so that it looks at the queue and the windows again.
extern "C" void WakeWaitingLoop();  // defined with EM_JS, which gives C linkage

// The canvas shows this window (placed, sized, titled), or is hidden when window is null.
void ShowCanvas(const LayerWindow* window);
