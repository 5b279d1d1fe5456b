// Browser events are reported to the core here, and only here: the core builds the messages.
#include <emscripten.h>

#include "platform/web/layer.h"

namespace web {
namespace {

core::Modifiers ModifiersOf(bool shift, bool control, bool alt, bool meta) {
  return core::Modifiers{shift, control || meta, alt};
}

}  // namespace

// Pointer input as the page's glue reports it: kind 0 down, 1 up, 2 move; button in DOM
// numbering (0 left, 1 middle, 2 right); keys 1 Shift, 2 Ctrl, 4 Alt; positions in device pixels
// from the canvas's top-left corner.
void ReportPointer(int kind, POINT client, int button, int keys) {
  HWND window = CanvasWindow();
  core::Modifiers modifiers = ModifiersOf((keys & 1) != 0, (keys & 2) != 0, (keys & 4) != 0, false);
  if (kind == 2) {
    core::PointerMoved(window, client, modifiers);
  } else if (button >= 0 && button <= 2) {
    core::ButtonChanged(window, static_cast<core::Button>(button), kind == 0, client, modifiers);
  }
}

// The DOM's keyCode is Windows' virtual-key code for the keys in question; the text a key types
// is its key when that is one character (named keys such as "Escape" are longer).
bool ReportKey(int type, const EmscriptenKeyboardEvent& key) {
  HWND window = CanvasWindow();
  bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  core::Modifiers modifiers =
      ModifiersOf(key.shiftKey != 0, key.ctrlKey != 0, key.altKey != 0, key.metaKey != 0);
  bool right = key.location == DOM_KEY_LOCATION_RIGHT ||
               (key.location == DOM_KEY_LOCATION_NUMPAD && key.keyCode == VK_RETURN);
  core::KeyChanged(window, key.keyCode, right, down, modifiers);
  WPARAM characters[2];
  bool typing = core::DecodeText(key.key, characters, 2) == 1;
  bool controlAlone = modifiers.control && !modifiers.alt;
  if (down && typing && !controlAlone) {
    core::TextTyped(window, key.key);
  }
  // Typing and Esc belong to the viewer while its window shows; shortcuts stay the browser's.
  bool viewerKey = (typing && !modifiers.control && !modifiers.alt) || key.keyCode == VK_ESCAPE;
  return window != nullptr && viewerKey;
}

}  // namespace web

namespace {

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
  return web::ReportKey(type, *key) ? EM_TRUE : EM_FALSE;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void RibbonPointer(int kind, int x, int y, int button, int keys) {
  web::ReportPointer(kind, POINT{x, y}, button, keys);
}

extern "C" EMSCRIPTEN_KEEPALIVE void RibbonCaptureLost() {
  core::CaptureLost();
}

// A page nobody can see (another tab, a minimised browser) is the browser's minimised window;
// coming back, or a lost WebGL context restored (wgl.cpp), is an exposure.
extern "C" EMSCRIPTEN_KEEPALIVE void RibbonPageShown(int shown) {
  if (HWND window = web::CanvasWindow()) {
    core::WindowMinimised(window, shown == 0);
    if (shown != 0) {
      core::WindowExposed(window);
    }
  }
}

// Mouse, pen and touch come alike as Pointer Events. Only the primary pointer counts: a second
// finger is ignored, as a second pointer would be. Positions are scaled to device pixels, the
// unit of the window's size. The page keeps the pressed pointer's id for SetCapture, and reports
// losing the capture and being hidden or shown.
// clang-format off
EM_JS(int, JsWatchPage, (), {
  if (typeof document === 'undefined') return 0;
  const canvas = document.getElementById('canvas');
  const report = (e, kind) => {
    const box = canvas.getBoundingClientRect();
    const scale = window.devicePixelRatio || 1;
    const keys = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    _RibbonPointer(kind, Math.floor((e.clientX - box.left) * scale),
                   Math.floor((e.clientY - box.top) * scale), e.button, keys);
  };
  canvas.addEventListener('pointerdown', e => {
    if (!e.isPrimary) return;
    Module.ribbonPointer = e.pointerId;
    report(e, 0);
    // No mouse events follow, nor a touch's scrolling or zooming (touch-action: none as well).
    e.preventDefault();
  });
  canvas.addEventListener('pointerup', e => { if (e.isPrimary) report(e, 1); });
  canvas.addEventListener('pointermove', e => {
    if (!e.isPrimary) return;
    // A mouse button pressed or released while another is held comes as a move with a button.
    const mask = [1, 4, 2][e.button];
    if (e.button < 0) report(e, 2);
    else if (mask) report(e, e.buttons & mask ? 0 : 1);
  });
  canvas.addEventListener('lostpointercapture', e => {
    if (!canvas.hasPointerCapture(e.pointerId)) _RibbonCaptureLost();
  });
  document.addEventListener('visibilitychange', () => _RibbonPageShown(document.hidden ? 0 : 1));
  return 1;
});
// clang-format on

void web::Listen() {
  if (JsWatchPage() == 0) {
    return;
  }
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
}
