// Browser events become window messages here, and only here.
#include <emscripten/html5.h>

#include <cstring>

#include "platform/web/layer.h"

static LayerWindow* CanvasWindow() {
  LayerWindow* window = LookUpWindow(layer.canvasOwner);
  return window != nullptr && window->visible ? window : nullptr;
}

// While a window has the capture every pointer message goes to it.
static LayerWindow* PointerTarget() {
  if (LayerWindow* captor = LookUpWindow(core.capture)) {
    return captor;
  }
  return CanvasWindow();
}

static WPARAM MouseKeyFlags(const BrowserEvent& event) {
  WPARAM flags = 0;
  flags |= (event.buttons & 1) != 0 ? MK_LBUTTON : 0;
  flags |= (event.buttons & 2) != 0 ? MK_RBUTTON : 0;
  flags |= (event.buttons & 4) != 0 ? MK_MBUTTON : 0;
  flags |= event.shift ? MK_SHIFT : 0;
  flags |= event.control ? MK_CONTROL : 0;
  return flags;
}

static UINT ButtonMessage(int button, bool down) {
  switch (button) {
    case 0:
      return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 1:
      return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case 2:
      return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default:
      return 0;
  }
}

static void PostPointer(const BrowserEvent& event) {
  LayerWindow* target = PointerTarget();
  UINT message = event.kind == BrowserEvent::kMouseMove
                     ? WM_MOUSEMOVE
                     : ButtonMessage(event.button, event.kind == BrowserEvent::kMouseDown);
  if (target == nullptr || message == 0) {
    return;
  }
  POINT screen = {target->x + event.x, target->y + event.y};
  if (message == WM_MOUSEMOVE && screen.x == core.cursor.x && screen.y == core.cursor.y) {
    return;
  }
  core.cursor = screen;
  // As on Windows, a move not yet taken merges with the next one at the latest position: a burst
  // of moves between two frames then turns the model as far as the same moves spread out.
  MSG* last = core.queue.empty() ? nullptr : &core.queue.back();
  if (message == WM_MOUSEMOVE && last != nullptr && last->message == WM_MOUSEMOVE &&
      last->hwnd == WindowHandle(*target) && last->wParam == MouseKeyFlags(event)) {
    last->lParam = MAKELPARAM(event.x, event.y);
    last->pt = screen;
    return;
  }
  PostToQueue(WindowHandle(*target), message, MouseKeyFlags(event), MAKELPARAM(event.x, event.y));
}

// Bit 29: Alt is held; bit 30: the key was down before; bit 31: it is being released.
static LPARAM KeyLParam(bool down, bool repeat, bool system) {
  DWORD bits = 1;
  bits |= system ? 1u << 29 : 0;
  bits |= repeat || !down ? 1u << 30 : 0;
  bits |= !down ? 1u << 31 : 0;
  return static_cast<LPARAM>(bits);
}

static void PostKey(const BrowserEvent& event) {
  LayerWindow* target = CanvasWindow();
  if (target == nullptr || event.keyCode <= 0 || event.keyCode > 0xff) {
    return;
  }
  bool down = event.kind == BrowserEvent::kKeyDown;
  // As on Windows: Alt alone makes system keys; Ctrl+letter types the letter's control
  // character; Ctrl with Alt (AltGr) types what the key shows.
  const bool system = event.alt && !event.control;
  const bool controlLetter =
      event.control && !event.alt && event.keyCode >= 'A' && event.keyCode <= 'Z';
  if (down) {
    layer.typed[event.keyCode] = controlLetter ? static_cast<WPARAM>(event.keyCode - 'A' + 1)
                                 : event.control && !event.alt ? 0
                                                               : event.character;
  }
  UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  PostToQueue(WindowHandle(*target), message, static_cast<WPARAM>(event.keyCode),
              KeyLParam(down, event.repeat, system));
}

void TranslateBrowserEvent(const BrowserEvent& event) {
  switch (event.kind) {
    case BrowserEvent::kMouseDown:
    case BrowserEvent::kMouseUp:
    case BrowserEvent::kMouseMove:
      PostPointer(event);
      break;
    case BrowserEvent::kKeyDown:
    case BrowserEvent::kKeyUp:
      PostKey(event);
      break;
    case BrowserEvent::kCaptureLost:
      // The page lost the pointer (another window, a browser gesture): the captor is told, in
      // its turn, as Windows tells a window whose thread is waiting for messages.
      if (HWND captor = core.capture) {
        core.capture = nullptr;
        PostToQueue(captor, WM_CAPTURECHANGED, 0, 0);
      }
      break;
    case BrowserEvent::kPageShown:
      // Coming back from another tab or a minimised browser is an exposure.
      InvalidateRect(layer.canvasOwner, nullptr, FALSE);
      WakeWaitingLoop();
      break;
  }
}

// Pointer input, as the JS glue below reports it: kind 0 down, 1 up, 2 move; keys 1 Shift,
// 2 Ctrl, 4 Alt; positions in device pixels from the canvas's top-left corner.
extern "C" EMSCRIPTEN_KEEPALIVE void RibbonPointer(int kind, int x, int y, int button, int buttons,
                                                   int keys) {
  BrowserEvent event = {kind == 0   ? BrowserEvent::kMouseDown
                        : kind == 1 ? BrowserEvent::kMouseUp
                                    : BrowserEvent::kMouseMove};
  event.x = x;
  event.y = y;
  event.button = button;
  event.buttons = buttons;
  event.shift = (keys & 1) != 0;
  event.control = (keys & 2) != 0;
  event.alt = (keys & 4) != 0;
  TranslateBrowserEvent(event);
}

// The character a key event types: a single character in Latin-1 (others as '?'), or 0 for
// named keys such as "Escape".
static WPARAM TypedCharacter(const char* key) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(key);
  if (bytes[0] == 0) {
    return 0;
  }
  if (bytes[0] < 0x80) {
    return bytes[1] == 0 ? bytes[0] : 0;
  }
  int length = (bytes[0] & 0xE0) == 0xC0 ? 2 : ((bytes[0] & 0xF0) == 0xE0 ? 3 : 4);
  if (std::strlen(key) != static_cast<size_t>(length)) {
    return 0;
  }
  WPARAM codePoint = length == 2 ? ((bytes[0] & 0x1Fu) << 6) | (bytes[1] & 0x3Fu) : 0x100;
  return codePoint < 0x100 ? codePoint : '?';
}

static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
  BrowserEvent event = {type == EMSCRIPTEN_EVENT_KEYDOWN ? BrowserEvent::kKeyDown
                                                         : BrowserEvent::kKeyUp};
  event.keyCode = static_cast<int>(key->keyCode);
  event.character = TypedCharacter(key->key);
  event.shift = key->shiftKey != 0;
  event.control = key->ctrlKey != 0 || key->metaKey != 0;
  event.alt = key->altKey != 0;
  event.repeat = key->repeat != 0;
  TranslateBrowserEvent(event);
  // Typing and Esc belong to the viewer while its window shows; shortcuts stay the browser's.
  bool typing = event.character != 0 && !event.control && !event.alt;
  bool viewerKey = typing || event.keyCode == static_cast<int>(VK_ESCAPE);
  return CanvasWindow() != nullptr && viewerKey ? EM_TRUE : EM_FALSE;
}

// Mouse, pen and touch come alike as Pointer Events. Only the primary pointer counts: a second
// finger is ignored, as a second pointer would be. Positions are scaled to device pixels, the
// unit of the window's size. The page keeps the pressed pointer's id for SetCapture, and reports
// losing the capture and being shown again.
// clang-format off
EM_JS(void, WatchPointer, (), {
  const canvas = document.getElementById('canvas');
  const report = (e, kind) => {
    const box = canvas.getBoundingClientRect();
    const scale = window.devicePixelRatio || 1;
    const keys = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    _RibbonPointer(kind, Math.floor((e.clientX - box.left) * scale),
                   Math.floor((e.clientY - box.top) * scale), e.button, e.buttons, keys);
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
  document.addEventListener('visibilitychange', () => {
    if (!document.hidden) _RibbonPageShown();
  });
});
// clang-format on

extern "C" EMSCRIPTEN_KEEPALIVE void RibbonCaptureLost() {
  TranslateBrowserEvent(BrowserEvent{BrowserEvent::kCaptureLost});
}

// A page shown again, or a lost WebGL context restored (wgl.cpp), is an exposure.
extern "C" EMSCRIPTEN_KEEPALIVE void RibbonPageShown() {
  TranslateBrowserEvent(BrowserEvent{BrowserEvent::kPageShown});
}

// clang-format off
EM_JS(int, InBrowser, (), { return typeof document !== 'undefined' ? 1 : 0; });
// clang-format on

void ListenToBrowser() {
  static bool listening = false;
  if (listening || !InBrowser()) {
    return;
  }
  listening = true;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
  WatchPointer();
}
