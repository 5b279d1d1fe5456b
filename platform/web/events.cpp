// Browser events are reported to the core here, and only here: the core builds the messages.
#include <emscripten.h>

#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace web {
namespace {

core::Modifiers ModifiersOf(bool shift, bool control, bool alt, bool meta) {
  return core::Modifiers{shift, control || meta, alt};
}

}  // namespace

// Pointer input as the page reports it (page.h's kinds and key bits); button in DOM numbering
// (0 left, 1 middle, 2 right); positions in device pixels from the canvas's top-left corner.
void ReportPointer(int kind, POINT client, int button, int keys) {
  HWND window = CanvasWindow();
  core::Modifiers modifiers = ModifiersOf((keys & kPageShift) != 0, (keys & kPageControl) != 0,
                                          (keys & kPageAlt) != 0, false);
  if (kind == kPagePointerMove) {
    core::PointerMoved(window, client, modifiers);
  } else if (button >= 0 && button <= 2) {
    core::ButtonChanged(window, static_cast<core::Button>(button), kind == kPagePointerDown, client,
                        modifiers);
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

extern "C" EMSCRIPTEN_KEEPALIVE void RibbonFocusLost() {
  core::FocusLost(web::CanvasWindow());
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

void web::Listen() {
  if (JsWatchPage(kPagePointerDown, kPagePointerUp, kPagePointerMove, kPageShift, kPageControl,
                  kPageAlt) == 0) {
    return;
  }
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
}
