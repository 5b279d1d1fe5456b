// Browser events are reported to the core here, and only here: the core builds the messages.
#include <emscripten.h>

#include "platform/web/layer.h"

namespace web {
namespace {

core::Modifiers ModifiersOf(bool shift, bool control, bool alt, bool meta) {
  return core::Modifiers{shift, control || meta, alt};
}

}  // namespace

void ReportMouse(int type, const EmscriptenMouseEvent& mouse) {
  core::Window* window = CanvasWindow();
  POINT client = {static_cast<LONG>(mouse.targetX), static_cast<LONG>(mouse.targetY)};
  core::Modifiers modifiers =
      ModifiersOf(mouse.shiftKey != 0, mouse.ctrlKey != 0, mouse.altKey != 0, false);
  if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
    core::PointerMoved(window, client, modifiers);
    return;
  }
  // DOM numbering: 0 left, 1 middle, 2 right.
  if (mouse.button >= 0 && mouse.button <= 2) {
    core::ButtonChanged(window, static_cast<core::Button>(mouse.button),
                        type == EMSCRIPTEN_EVENT_MOUSEDOWN, client, modifiers);
  }
}

// The DOM's keyCode is Windows' virtual-key code for the keys in question; the text a key types
// is its key when that is one character (named keys such as "Escape" are longer).
bool ReportKey(int type, const EmscriptenKeyboardEvent& key) {
  core::Window* window = CanvasWindow();
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

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* mouse, void*) {
  web::ReportMouse(type, *mouse);
  return EM_TRUE;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
  return web::ReportKey(type, *key) ? EM_TRUE : EM_FALSE;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void RibbonCaptureLost() {
  core::CaptureLost();
}

// A page nobody can see (another tab, a minimised browser) is the browser's minimised window;
// coming back is an exposure.
extern "C" EMSCRIPTEN_KEEPALIVE void RibbonPageShown(int shown) {
  if (core::Window* window = web::CanvasWindow()) {
    core::WindowMinimised(*window, shown == 0);
    if (shown != 0) {
      core::WindowExposed(*window);
    }
  }
}

// Pointer capture needs the pointer's id, which the mouse events do not carry; the page keeps
// the last one pressed on the canvas, and reports losing the capture and being hidden or shown.
// clang-format off
EM_JS(int, JsWatchPage, (), {
  if (typeof document === 'undefined') return 0;
  const canvas = document.getElementById('canvas');
  canvas.addEventListener('pointerdown', e => { Module.ribbonPointer = e.pointerId; });
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
  emscripten_set_mousedown_callback("#canvas", nullptr, EM_FALSE, OnMouse);
  emscripten_set_mouseup_callback("#canvas", nullptr, EM_FALSE, OnMouse);
  emscripten_set_mousemove_callback("#canvas", nullptr, EM_FALSE, OnMouse);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
}
