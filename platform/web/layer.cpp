// The browser backend's table: the canvas as the native window, the page's box, viewport and
// pointer capture, and the clock, wait and wake of the shared core.
#include "platform/web/layer.h"

#include <emscripten.h>

#include "platform/web/page.h"

namespace web {
namespace {

HWND canvasOwner = nullptr;

bool Open() {
  Listen();
  return true;
}

}  // namespace

// The owner is set while the window is shown and cleared when it goes.
HWND CanvasWindow() {
  return canvasOwner;
}

void ShowCanvas(const core::WindowFields* window) {
  canvasOwner = window == nullptr ? nullptr : window->handle;
  if (window == nullptr) {
    JsPlaceCanvas(0, 0, 0, 0, 0, "");
  } else {
    JsPlaceCanvas(1, window->x, window->y, window->width, window->height, window->title.c_str());
  }
}

namespace {

void ShowNativeWindow(const core::WindowFields& window) {
  ShowCanvas(&window);
}

void PlaceNativeWindow(const core::WindowFields& window, bool, bool, bool) {
  if (canvasOwner == window.handle) {
    ShowCanvas(&window);
  }
}

void DestroyNativeWindow(const core::WindowFields& window) {
  if (canvasOwner == window.handle) {
    ShowCanvas(nullptr);
  }
  delete window.native;
}

void CaptureCanvasPointer(const core::WindowFields* window) {
  JsCapturePointer(window != nullptr ? 1 : 0);
}

void ShowMessageBox(const core::WindowFields*, const char* text, const char* caption, bool error) {
  JsShowMessageBox(text, caption, error ? 1 : 0);
}

POINT ScreenSize() {
  return POINT{JsViewportSize(0), JsViewportSize(1)};
}

// Browser events are reported by the browser's callbacks as they come.
void Pump() {}

}  // namespace
}  // namespace web

const core::Backend core::backend = {
    .openDisplay = web::Open,
    .createNativeWindow = web::CreateNativeWindow,
    .describeNativeFormat = web::DescribeNativeFormat,
    .showNativeWindow = web::ShowNativeWindow,
    .placeNativeWindow = web::PlaceNativeWindow,
    .destroyNativeWindow = web::DestroyNativeWindow,
    .createContext = web::CreateContext,
    .makeContextCurrent = web::MakeContextCurrent,
    .deleteContext = web::DeleteContext,
    .swapNativeBuffers = web::SwapNativeBuffers,
    .capturePointer = web::CaptureCanvasPointer,
    .showMessageBox = web::ShowMessageBox,
    .screenSize = web::ScreenSize,
    .now = emscripten_get_now,
    .pump = web::Pump,
    .wait = JsWait,
    .wake = JsWake,
};
