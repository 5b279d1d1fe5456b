// What the backends report becomes window messages here, by Windows' rules: routing to the
// captor or the focus, merged pointer moves, key lParam bits, system keys and typed characters.
#include <algorithm>

#include "platform/win32_core/core.h"

namespace core {
namespace {

// While a window has the capture every pointer message goes to it, wherever the pointer is.
Window* PointerTarget(Window* source) {
  Window* captor = LookUp(state.capture);
  return captor != nullptr ? captor : source;
}

// Keyboard input without a focus window (possible with no window manager) goes to the first
// shown window, the one a user would be typing at.
Window* KeyboardTarget(Window* source) {
  if (source != nullptr) {
    return source;
  }
  for (auto& window : state.windows) {
    if (window->visible) {
      return window.get();
    }
  }
  return nullptr;
}

WPARAM MouseKeyFlags(Modifiers modifiers) {
  return state.buttons | (modifiers.shift ? MK_SHIFT : 0) | (modifiers.control ? MK_CONTROL : 0);
}

// Where a position in source's client area lies in target's; the window it came from is the
// target's own when the platform names none.
POINT ClientOf(const Window& target, const Window* source, POINT client) {
  if (source == nullptr) {
    return client;
  }
  return POINT{client.x + source->x - target.x, client.y + source->y - target.y};
}

// A move that has not been taken yet merges with the next one, as Windows merges hardware moves:
// the message keeps its place and takes the latest position.
void PostPointer(Window& target, UINT message, POINT client, Modifiers modifiers) {
  state.cursor = POINT{target.x + client.x, target.y + client.y};
  HWND handle = Handle(target);
  WPARAM flags = MouseKeyFlags(modifiers);
  LPARAM position = MAKELPARAM(client.x, client.y);
  MSG* last = state.input.empty() ? nullptr : &state.input.back().msg;
  if (message == WM_MOUSEMOVE && last != nullptr && last->message == WM_MOUSEMOVE &&
      last->hwnd == handle && last->wParam == flags) {
    last->lParam = position;
    last->pt = state.cursor;
    return;
  }
  state.input.push_back(Input{MakeMessage(handle, message, flags, position)});
  backend.wake();
}

// Alt with Ctrl is AltGr, which types ordinary characters.
bool AltAlone(Modifiers modifiers) {
  return modifiers.alt && !modifiers.control;
}

}  // namespace

WPARAM ControlCharacter(WPARAM virtualKey, Modifiers modifiers) {
  if (modifiers.control && !modifiers.alt && virtualKey >= 'A' && virtualKey <= 'Z') {
    return virtualKey - 'A' + 1;
  }
  switch (virtualKey) {
    case VK_ESCAPE:
      return 27;
    case VK_RETURN:
      return 13;
    case VK_BACK:
      return 8;
    case VK_TAB:
      return 9;
    default:
      return 0;
  }
}

namespace {

// Bits 0-15 the repeat count, 16-23 the scan code, 24 extended, 29 a system key (Alt held, not
// AltGr), 30 the key was down before, 31 it is being released.
LPARAM KeyLParam(unsigned scanCode, bool extended, bool down, bool wasDown, Modifiers modifiers) {
  DWORD bits = 1 | ((scanCode & 0xffu) << 16);
  bits |= extended ? 1u << 24 : 0;
  bits |= AltAlone(modifiers) ? 1u << 29 : 0;
  bits |= wasDown ? 1u << 30 : 0;
  bits |= !down ? 1u << 31 : 0;
  return static_cast<LPARAM>(bits);
}

// The set-1 scan code of a key on a US keyboard, as Windows reports it, and whether it is one of
// the extended keys.
unsigned ScanCode(WPARAM virtualKey, bool right, bool* extended) {
  static const char kLetterRows[] = "QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM";
  *extended = (right && virtualKey != VK_SHIFT) || (virtualKey >= VK_LEFT && virtualKey <= VK_DOWN);
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    const char* at = std::find(kLetterRows, kLetterRows + sizeof(kLetterRows), virtualKey);
    return 0x10 + static_cast<unsigned>(at - kLetterRows);
  }
  if (virtualKey >= '1' && virtualKey <= '9') {
    return 0x02 + static_cast<unsigned>(virtualKey - '1');
  }
  switch (virtualKey) {
    case '0':
      return 0x0B;
    case VK_ESCAPE:
      return 0x01;
    case VK_BACK:
      return 0x0E;
    case VK_TAB:
      return 0x0F;
    case VK_RETURN:
      return 0x1C;
    case VK_CONTROL:
      return 0x1D;
    case VK_SHIFT:
      return right ? 0x36 : 0x2A;
    case VK_MENU:
      return 0x38;
    case VK_SPACE:
      return 0x39;
    case VK_LEFT:
      return 0x4B;
    case VK_UP:
      return 0x48;
    case VK_RIGHT:
      return 0x4D;
    case VK_DOWN:
      return 0x50;
    default:
      return 0;
  }
}

void PostKey(Window& target, WPARAM virtualKey, unsigned scanCode, bool extended, bool down,
             Modifiers modifiers, WPARAM character) {
  bool& keyDown = state.keyDown[virtualKey & 0xff];
  UINT message =
      AltAlone(modifiers) ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  LPARAM lParam = KeyLParam(scanCode, extended, down, keyDown, modifiers);
  state.input.push_back(Input{MakeMessage(Handle(target), message, virtualKey, lParam), character});
  keyDown = down;
  backend.wake();
}

}  // namespace

// The MK_ flag of each Button, in its order.
constexpr WPARAM kButtonFlags[] = {MK_LBUTTON, MK_MBUTTON, MK_RBUTTON};

void PointerMoved(HWND sourceWindow, POINT client, Modifiers modifiers) {
  Window* source = LookUp(sourceWindow);
  Window* target = PointerTarget(source);
  if (target == nullptr) {
    return;
  }
  POINT position = ClientOf(*target, source, client);
  if (target->x + position.x != state.cursor.x || target->y + position.y != state.cursor.y) {
    PostPointer(*target, WM_MOUSEMOVE, position, modifiers);
  }
}

void ButtonChanged(HWND sourceWindow, Button button, bool down, POINT client, Modifiers modifiers) {
  static constexpr UINT kMessages[][2] = {{WM_LBUTTONUP, WM_LBUTTONDOWN},
                                          {WM_MBUTTONUP, WM_MBUTTONDOWN},
                                          {WM_RBUTTONUP, WM_RBUTTONDOWN}};
  Window* source = LookUp(sourceWindow);
  Window* target = PointerTarget(source);
  if (target == nullptr) {
    return;
  }
  auto index = static_cast<int>(button);
  state.buttons =
      down ? (state.buttons | kButtonFlags[index]) : (state.buttons & ~kButtonFlags[index]);
  // The event's own position: reading the pointer now could turn a quick click into a drag.
  PostPointer(*target, kMessages[index][down ? 1 : 0], ClientOf(*target, source, client),
              modifiers);
}

bool ButtonHeld(Button button) {
  return (state.buttons & kButtonFlags[static_cast<int>(button)]) != 0;
}

void KeyChanged(HWND source, WPARAM virtualKey, bool right, bool down, Modifiers modifiers) {
  Window* target = KeyboardTarget(LookUp(source));
  state.awaitingText = false;
  if (target == nullptr || virtualKey == 0 || virtualKey > 0xff) {
    return;
  }
  // Ctrl alone types control characters only; other keys type what the platform reports next.
  WPARAM character = down ? ControlCharacter(virtualKey, modifiers) : 0;
  bool extended = false;
  unsigned scanCode = ScanCode(virtualKey, right, &extended);
  PostKey(*target, virtualKey, scanCode, extended, down, modifiers, character);
  state.awaitingText = down && character == 0 && !(modifiers.control && !modifiers.alt);
}

void TextTyped(HWND source, const char* text) {
  Window* target = KeyboardTarget(LookUp(source));
  WPARAM characters[32];
  std::size_t count = DecodeText(text, characters, 32);
  if (target == nullptr || count == 0) {
    return;
  }
  std::size_t first = 0;
  if (state.awaitingText && !state.input.empty()) {
    state.input.back().character = characters[first++];
  }
  state.awaitingText = false;
  // Windows delivers characters typed without a key of their own as VK_PACKET key presses.
  for (std::size_t i = first; i < count; ++i) {
    PostKey(*target, VK_PACKET, 0, false, true, Modifiers{}, characters[i]);
    PostKey(*target, VK_PACKET, 0, false, false, Modifiers{}, 0);
  }
}

void CaptureLost() {
  ReleaseCapture();
}

void FocusLost(HWND window) {
  if (window != nullptr && state.capture == window) {
    ReleaseCapture();
  }
}

void WindowMinimised(HWND handle, bool iconic) {
  if (Window* window = LookUp(handle)) {
    window->invalid = window->invalid || (window->iconic && !iconic);
    window->iconic = iconic;
  }
}

void WindowExposed(HWND handle) {
  if (Window* window = LookUp(handle)) {
    window->invalid = true;
    backend.wake();
  }
}

void WindowMoved(HWND handle, int x, int y) {
  if (Window* window = LookUp(handle)) {
    window->placed = true;
    window->x = x;
    window->y = y;
  }
}

// A size that differs from the one on record came from outside (window manager, xdotool).
void WindowResized(HWND handle, int width, int height) {
  Window* window = LookUp(handle);
  if (window == nullptr || (width == window->width && height == window->height)) {
    return;
  }
  window->width = width;
  window->height = height;
  window->invalid = true;
  Post(state.posted, handle, WM_SIZE, 0, MAKELPARAM(width, height));
}

void CloseRequested(HWND window) {
  if (LookUp(window) != nullptr) {
    Post(state.posted, window, WM_CLOSE, 0, 0);
  }
}

void SessionEnding() {
  for (auto& window : state.windows) {
    Post(state.posted, Handle(*window), WM_CLOSE, 0, 0);
  }
}

// Length of the UTF-8 sequence that starts with lead, and the payload bits of lead.
static int SequenceLength(unsigned char lead, unsigned* payload) {
  if (lead < 0x80) {
    *payload = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    *payload = lead & 0x1Fu;
    return 2;
  }
  if ((lead & 0xF0) == 0xE0) {
    *payload = lead & 0x0Fu;
    return 3;
  }
  *payload = lead & 0x07u;
  return 4;
}

std::size_t DecodeText(const char* text, WPARAM* characters, std::size_t capacity) {
  std::size_t count = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  while (*bytes != 0 && count < capacity) {
    unsigned codePoint = 0;
    int length = SequenceLength(*bytes++, &codePoint);
    for (int i = 1; i < length && (*bytes & 0xC0) == 0x80; ++i) {
      codePoint = (codePoint << 6) | (*bytes++ & 0x3Fu);
    }
    characters[count++] = codePoint < 0x100 ? codePoint : '?';
  }
  return count;
}

}  // namespace core
