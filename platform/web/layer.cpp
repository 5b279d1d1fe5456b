// The layer's record, the clock and wake-up the shared core asks for, and the page's canvas.
#include "platform/web/layer.h"

#include <emscripten.h>

Layer layer;

double Now() {
  return emscripten_get_now();
}

// Input and posted messages may come while GetMessageA waits on the browser.
void MessageQueued() {
  WakeWaitingLoop();
}

// The window's position is where the canvas sits on the page; the page has no frames, so the
// window's size is the canvas's. Both are in device pixels, the page's CSS pixels in
// devicePixelRatio of them.
// clang-format off
EM_JS(void, PlaceCanvas, (int shown, int x, int y, int width, int height, const char* title), {
  if (typeof document === 'undefined') return;
  const canvas = document.getElementById('canvas');
  if (!shown) {
    canvas.hidden = true;
    return;
  }
  const scale = window.devicePixelRatio;
  canvas.style.left = x / scale + 'px';
  canvas.style.top = y / scale + 'px';
  canvas.style.width = width / scale + 'px';
  canvas.style.height = height / scale + 'px';
  document.title = UTF8ToString(title);
  canvas.hidden = false;
});
// clang-format on

void ShowCanvas(const LayerWindow* window) {
  layer.canvasOwner = window == nullptr ? nullptr : WindowHandle(*window);
  if (window == nullptr) {
    PlaceCanvas(0, 0, 0, 0, 0, "");
  } else {
    PlaceCanvas(1, window->x, window->y, window->width, window->height, window->title.c_str());
  }
}
