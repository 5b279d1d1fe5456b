// The browser layer's own state: one static record shared by the files of platform/web/.
// Only the layer includes this header; the viewer sees platform/win32.h alone.
//
// Supported in a page (the page's one canvas, #canvas, shows the window last shown):
//  - window classes, CreateWindowExA (WM_CREATE sent), ShowWindow, UpdateWindow (WM_PAINT sent
//    when invalid), SetWindowPos (WM_SIZE sent on a real size change), DestroyWindow (WM_DESTROY
//    sent; the canvas is hidden), GetWindowRect, GetClientRect, IsIconic (the page is hidden),
//    DefWindowProcA (WM_CLOSE destroys the window); the title is the page's title; a minimised
//    window (ShowWindow) shows nothing until it is restored
//  - the queue as the SDL2 layer keeps it: posted and input messages first, then WM_QUIT, then
//    WM_PAINT and WM_TIMER; GetMessageA waits on the browser (ASYNCIFY)
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

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "platform/webgl/webgl.h"

struct LayerClass {
  std::string name;
  WNDPROC procedure = nullptr;
};

// A window is a record; the page's one canvas shows the window that was last shown.
struct LayerWindow {
  std::uintptr_t id = 0;
  WNDPROC procedure = nullptr;
  std::string title;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int pixelFormat = 0;
  GlFramebufferFormat format;
  bool visible = false;
  bool iconic = false;
  bool invalid = false;
  HPALETTE selectedPalette = nullptr;
};

struct LayerTimer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  double period = 0;
  double due = 0;
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

struct Layer {
  std::vector<LayerClass> classes;
  std::vector<std::unique_ptr<LayerWindow>> windows;
  std::uintptr_t nextWindowId = 1;
  // Posted and input messages in arrival order; WM_QUIT, WM_PAINT and WM_TIMER are produced
  // from the flags and records below only when none of these matches.
  std::deque<MSG> queue;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<LayerTimer> timers;
  UINT_PTR nextTimerId = 1;
  HWND capture = nullptr;
  HWND canvasOwner = nullptr;
  POINT cursor = {0, 0};
  // The character each virtual key typed last, for TranslateMessage.
  WPARAM typed[256] = {};
};
extern Layer layer;

HWND WindowHandle(const LayerWindow& window);
HDC DeviceContextHandle(const LayerWindow& window);
LayerWindow* LookUpWindow(HWND window);
LayerWindow* LookUpWindowOfDC(HDC deviceContext);

// Starts listening to the page's input once; nothing happens outside a browser.
void ListenToBrowser();
// The one place where a browser event becomes a window message (or nothing).
void TranslateBrowserEvent(const BrowserEvent& event);
void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Ends GetMessageA's wait, so that it looks at the queue and the windows again.
extern "C" void WakeWaitingLoop();  // defined with EM_JS, which gives C linkage
void DropQueuedMessages(HWND window);
void DropTimers(HWND window);
double Now();

// Releases the capture without telling its window (one that is being destroyed).
void DropCapture();

// The canvas shows this window (placed, sized, titled), or is hidden when window is null.
void ShowCanvas(const LayerWindow* window);
