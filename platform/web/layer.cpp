// The browser backend's table: the canvas as the native window, the page's box, viewport and
// pointer capture, and the clock, wait and wake of the shared core.
#include "platform/web/layer.h"

#include <emscripten.h>

// The page's JavaScript, kept in these few functions (with C names, as EM_JS makes them).
// Outside a browser (Node) each does nothing, or what a page would answer.
// clang-format off
EM_JS(void, JsPlaceCanvas, (int shown, int x, int y, int width, int height, const char* title), {
  if (typeof document === 'undefined') return;
  const canvas = document.getElementById('canvas');
  canvas.hidden = !shown;
  if (!shown) return;
  // The window's place and size are in device pixels, the page's CSS pixels in devicePixelRatio
  // of them.
  const scale = window.devicePixelRatio || 1;
  canvas.style.left = x / scale + 'px';
  canvas.style.top = y / scale + 'px';
  canvas.style.width = width / scale + 'px';
  canvas.style.height = height / scale + 'px';
  document.title = UTF8ToString(title);
});

EM_JS(int, JsViewportSize, (int height), {
  if (typeof window === 'undefined') return height ? 768 : 1024;
  // Device pixels, as a DPI-aware program sees the screen: the canvas's backing store is then
  // as sharp as the display.
  const scale = window.devicePixelRatio || 1;
  return Math.round((height ? window.innerHeight : window.innerWidth) * scale);
});

EM_JS(void, JsCapturePointer, (int capture), {
  if (typeof document === 'undefined' || Module.ribbonPointer === undefined) return;
  const canvas = document.getElementById('canvas');
  try {
    if (capture) canvas.setPointerCapture(Module.ribbonPointer);
    else canvas.releasePointerCapture(Module.ribbonPointer);
  } catch (e) {
    // The pointer is no longer active: there is nothing to capture or release.
  }
});

EM_JS(void, JsWake, (), {
  if (Module.ribbonWake) Module.ribbonWake();
});

EM_ASYNC_JS(void, JsWait, (int timeout), {
  await new Promise(resolve => {
    Module.ribbonWake = resolve;
    if (timeout >= 0) setTimeout(resolve, timeout);
  });
  Module.ribbonWake = null;
});

// A modal dialog on the page: the caption as its title, the text as given (blanks kept) and an OK
// button that has the focus, so Enter dismisses it as a click does (and Esc, as on Windows).
// Outside a browser the box becomes a line on stderr.
EM_ASYNC_JS(void, JsShowMessageBox, (const char* text, const char* caption, int error), {
  text = UTF8ToString(text);
  caption = UTF8ToString(caption);
  if (typeof document === 'undefined') {
    err('ribbon: ' + caption + ': ' + text);
    return;
  }
  const box = document.createElement('dialog');
  box.className = error ? 'box error' : 'box';
  const title = document.createElement('div');
  title.className = 'caption';
  title.textContent = caption;
  const body = document.createElement('div');
  body.className = 'text';
  body.textContent = text;
  const form = document.createElement('form');
  form.method = 'dialog';
  const ok = document.createElement('button');
  ok.textContent = 'OK';
  form.append(ok);
  box.append(title, body, form);
  document.body.append(box);
  box.showModal();
  ok.focus();
  await new Promise(resolve => box.addEventListener('close', resolve));
  box.remove();
});
// clang-format on

namespace web {
namespace {

HWND canvasOwner = nullptr;

bool Open() {
  Listen();
  return true;
}

}  // namespace

// The owner is set while the window is shown and cleared when it is hidden or goes.
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

void ShowNativeWindow(const core::WindowFields& window, bool shown) {
  if (shown) {
    ShowCanvas(&window);
  } else if (canvasOwner == window.handle) {
    ShowCanvas(nullptr);
  }
}

// The page has no minimised state of its own to set.
void MinimiseNativeWindow(const core::WindowFields&, bool) {}

void PlaceNativeWindow(const core::WindowFields& window, bool, bool, bool) {
  if (canvasOwner == window.handle) {
    ShowCanvas(&window);
  }
}

void DestroyNativeWindow(const core::WindowFields& window) {
  ShowNativeWindow(window, false);
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
    .minimiseNativeWindow = web::MinimiseNativeWindow,
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
