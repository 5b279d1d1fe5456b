// The browser backend's own header, shared by the files of platform/web/: what it keeps of a
// native window and the pieces of its core::Backend table. Only the backend (and its tests)
// include it.
//
// The page's one canvas, #canvas, shows the window last shown: its position is where the canvas
// sits, its title the page's; a page nobody can see is a minimised window. GetMessageA waits on
// the browser (ASYNCIFY); SwapBuffers presents, then waits for the next animation frame.
// MessageBoxA is a modal box on the page; GetSystemMetrics gives the viewport; SetCapture is
// pointer capture. Not supported: more than one visible window.
#pragma once

#include <emscripten/html5.h>

#include "platform/webgl/webgl.h"
#include "platform/win32_core/backend.h"

// A window's framebuffer is the canvas; its format is the one SetPixelFormat asked for.
struct core::NativeWindow {
  GlFramebufferFormat format;
};

namespace web {

// The window the canvas shows, while it is shown; null otherwise.
HWND CanvasWindow();
// The canvas shows this window (placed, sized, titled), or is hidden when window is null.
void ShowCanvas(const core::WindowFields* window);

// Starts listening to the page's input (events.cpp); nothing happens outside a browser.
void Listen();
// The one place where a browser's key event is reported to the core; true when the viewer
// takes it (the browser's default action is then prevented).
bool ReportKey(int type, const EmscriptenKeyboardEvent& key);
void ReportPointer(int kind, POINT client, int button, int keys);

// Pixel formats, contexts and the swap (wgl.cpp).
core::NativeWindow* CreateNativeWindow(const core::WindowFields& window,
                                       const PIXELFORMATDESCRIPTOR* request);
bool DescribeNativeFormat(const core::WindowFields& window, PIXELFORMATDESCRIPTOR* description);
HGLRC CreateContext(const core::WindowFields& window);
bool MakeContextCurrent(const core::WindowFields* window, HGLRC context);
void DeleteContext(HGLRC context);
bool SwapNativeBuffers(const core::WindowFields& window);

}  // namespace web
