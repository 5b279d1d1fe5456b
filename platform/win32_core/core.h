// The Win32 core shared by the SDL2 and browser backends. It owns every Win32 call of
// platform/win32.h except the purely native ones (SwapBuffers and the three WGL context calls):
// argument checks, window and class records, the queue, timers, capture, palettes, pixel-format
// bookkeeping, and which messages are sent or posted with which wParam and lParam. A backend
// fills one Backend table with the native work and reports input through the entry points at
// the end; the Win32 rules are decided here, once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace core {

// Each backend defines what it keeps of a native window.
struct NativeWindow;

struct Class {
  std::string name;
  WNDPROC procedure = nullptr;
  UINT style = 0;
  HICON icon = nullptr;
};

struct Window {
  std::uintptr_t id = 0;
  WNDPROC procedure = nullptr;
  std::string title;
  DWORD style = 0;
  HICON icon = nullptr;
  bool placed = false;  // false while the position is left to the system (CW_USEDEFAULT)
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int pixelFormat = 0;
  bool visible = false;
  bool invalid = false;
  bool iconic = false;
  bool destroying = false;
  HPALETTE selectedPalette = nullptr;
  NativeWindow* native = nullptr;  // the backend's, from createWindow to destroyWindow
};

// The native work, one table per backend; checked by the compiler, filled in full.
struct Backend {
  // Opens the display once, before any window; false (said once on stderr) when there is none.
  bool (*open)();
  // Makes the window's native window, again if it has one, for a pixel-format request, or with
  // the backend's defaults for none; false when the platform cannot.
  bool (*createWindow)(Window& window, const PIXELFORMATDESCRIPTOR* request);
  // What the native window's framebuffer really has; false before there is one.
  bool (*describeFormat)(const Window& window, PIXELFORMATDESCRIPTOR* description);
  void (*showWindow)(Window& window, bool shown);
  void (*setIconic)(Window& window, bool iconic);
  // Moves or sizes the native window to the record's rectangle; raise brings it to the front.
  void (*placeWindow)(Window& window, bool moved, bool sized, bool raise);
  void (*destroyWindow)(Window& window);
  // The platform's pointer capture for this window, or none.
  void (*capturePointer)(Window* window);
  void (*messageBox)(Window* owner, const char* text, const char* caption, bool error);
  POINT (*screenSize)();
  double (*now)();            // milliseconds on a clock that never goes back
  void (*pump)();             // moves arrived input into the core through the entry points below
  void (*wait)(int timeout);  // until input arrives or timeout ms pass (no limit when negative)
  void (*wake)();             // a message was queued: a wait that could not see it ends
};
// The program's backend (platform/sdl/ or platform/web/).
extern const Backend backend;

struct Timer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  double period = 0;
  double due = 0;
};

struct Palette {
  std::vector<PALETTEENTRY> entries;
};

// An input message with the character its key types (a key-down), for TranslateMessage.
struct Input {
  MSG msg;
  WPARAM character = 0;
};

struct State {
  std::vector<Class> classes;
  std::vector<std::unique_ptr<Window>> windows;
  std::uintptr_t nextWindowId = 1;
  // Windows takes posted messages before input; WM_QUIT, WM_PAINT and WM_TIMER come from the
  // flags and records below only when neither queue has a match.
  std::deque<MSG> posted;
  std::deque<Input> input;
  Input taken = {};  // the last input message taken, for TranslateMessage
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  std::vector<std::unique_ptr<Palette>> palettes;
  HWND capture = nullptr;
  POINT cursor = {0, 0};  // where the pointer was at the last input message, in screen pixels
  WPARAM buttons = 0;     // MK_* of the mouse buttons held
  bool keyDown[256] = {};
  bool awaitingText = false;  // the last input is a key-down whose text the platform reports next
};
extern State state;

// Opens the display through the backend once; the entry calls it first.
bool OpenDisplay();

// Records and handles.
HWND Handle(const Window& window);
HDC DeviceContext(const Window& window);
Window* LookUp(HWND window);
Window* LookUpDC(HDC deviceContext);

// What the backends report. Positions are client pixels of the window the platform reported them
// in (null: the captor's); the core routes them (capture, focus) and builds the messages.
struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
};
enum class Button { kLeft, kMiddle, kRight };
void PointerMoved(Window* source, POINT client, Modifiers modifiers);
void ButtonChanged(Window* source, Button button, bool down, POINT client, Modifiers modifiers);
// A key by its virtual-key code (0: one the viewer's Win32 does not name); right says it is the
// right-hand Shift, Ctrl or Alt, or the keypad's Enter. The core gives it its scan code.
void KeyChanged(Window* source, WPARAM virtualKey, bool right, bool down, Modifiers modifiers);
// Text the key just pressed typed, in UTF-8; text without a key comes as VK_PACKET keys.
void TextTyped(Window* source, const char* text);
void CaptureLost();
void WindowMinimised(Window& window, bool iconic);
void WindowExposed(Window& window);
void WindowMoved(Window& window, int x, int y);
void WindowResized(Window& window, int width, int height);
void CloseRequested(Window& window);
// The character a key types whatever the keyboard layout (Esc, Return, Backspace, Tab,
// Ctrl+letter), or 0.
WPARAM ControlCharacter(WPARAM virtualKey, Modifiers modifiers);
// Decodes UTF-8 into the characters WM_CHAR carries (Latin-1; '?' beyond); returns the count.
std::size_t DecodeText(const char* text, WPARAM* characters, std::size_t capacity);

// Inside the core.
MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(std::deque<MSG>& queue, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ForgetWindow(HWND window);
bool IsProgramIcon(HICON icon);

}  // namespace core
