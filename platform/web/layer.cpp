// The layer's record, handle encoding and the page's canvas.
#include "platform/web/layer.h"

#include <emscripten.h>

Layer layer;

double Now() {
  return emscripten_get_now();
}

// Handles are small tagged numbers, never reused, so a stale handle is recognised as such.
constexpr std::uintptr_t kHandleBase = 0x10000;
constexpr std::uintptr_t kDeviceContextTag = 0x8;

HWND WindowHandle(const LayerWindow& window) {
  return reinterpret_cast<HWND>(kHandleBase + (window.id << 4));
}

HDC DeviceContextHandle(const LayerWindow& window) {
  return reinterpret_cast<HDC>(kHandleBase + (window.id << 4) + kDeviceContextTag);
}

static LayerWindow* LookUpWindowById(std::uintptr_t value, std::uintptr_t tag) {
  if (value < kHandleBase || (value & 0xf) != tag) {
    return nullptr;
  }
  std::uintptr_t id = (value - kHandleBase) >> 4;
  for (auto& window : layer.windows) {
    if (window->id == id) {
      return window.get();
    }
  }
  return nullptr;
}

LayerWindow* LookUpWindow(HWND window) {
  return LookUpWindowById(reinterpret_cast<std::uintptr_t>(window), 0);
}

LayerWindow* LookUpWindowOfDC(HDC deviceContext) {
  return LookUpWindowById(reinterpret_cast<std::uintptr_t>(deviceContext), kDeviceContextTag);
}

// The window's position is where the canvas sits on the page; the page has no frames, so the
// window's size is the canvas's.
// clang-format off
EM_JS(void, PlaceCanvas, (int shown, int x, int y, int width, int height, const char* title), {
  if (typeof document === 'undefined') return;
  const canvas = document.getElementById('canvas');
  if (!shown) {
    canvas.hidden = true;
    return;
  }
  canvas.style.left = x + 'px';
  canvas.style.top = y + 'px';
  canvas.style.width = width + 'px';
  canvas.style.height = height + 'px';
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
