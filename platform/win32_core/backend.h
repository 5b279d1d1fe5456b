// What a backend of the Win32 core sees of it, and all it sees: the window fields it may read,
// the Backend table it fills with the native work, and the entry points through which it reports
// what the platform did. The core (core.h, which no backend includes) decides every Win32 rule;
// a backend decides none.
//
// The order of calls, both ways:
// - openDisplay comes once, before the native window, context, message box and screen slots;
//   now, pump, wait, wake, capturePointer and making no context current may come before it,
//   and then find no display.
// - createNativeWindow is called for a window without a native record (the core destroys an old
//   one first); the record it returns is the window's until destroyNativeWindow.
// - pump reports input that has arrived, synchronously; a backend whose platform calls it back
//   (the browser) reports from those callbacks and pumps nothing.
// - TextTyped comes right after the KeyChanged whose text it is, before any other key.
// - WindowMoved may be called from inside createNativeWindow, with the place the platform chose.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32.h"

namespace core {

// Each backend defines what it keeps of a native window.
struct NativeWindow;

// The window fields a backend may read; the core alone writes them.
struct WindowFields {
  HWND handle = nullptr;
  std::string title;
  HICON icon = nullptr;
  bool placed = false;  // false while the position is left to the system (CW_USEDEFAULT)
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int pixelFormat = 0;
  bool visible = false;
  NativeWindow* native = nullptr;  // from createNativeWindow to destroyNativeWindow
};

// The native work, one table per backend, filled by name and in full.
struct Backend {
  // Opens the display; false (said once on stderr) when there is none.
  bool (*openDisplay)();
  // A native window for a pixel-format request, or with the backend's defaults for none; null
  // when the platform cannot make one.
  NativeWindow* (*createNativeWindow)(const WindowFields& window,
                                      const PIXELFORMATDESCRIPTOR* request);
  // What the native window's framebuffer really has.
  bool (*describeNativeFormat)(const WindowFields& window, PIXELFORMATDESCRIPTOR* description);
  void (*showNativeWindow)(const WindowFields& window);
  // Moves or sizes the native window to the fields' rectangle; raise brings it to the front.
  void (*placeNativeWindow)(const WindowFields& window, bool moved, bool sized, bool raise);
  // Frees window.native, which the core then forgets.
  void (*destroyNativeWindow)(const WindowFields& window);
  // A GL context on the window's native window, or null.
  HGLRC (*createContext)(const WindowFields& window);
  // Makes the context current on the window; (nullptr, nullptr) makes none current.
  bool (*makeContextCurrent)(const WindowFields* window, HGLRC context);
  void (*deleteContext)(HGLRC context);
  // Presents the window's frame; false when it has nothing to present.
  bool (*swapNativeBuffers)(const WindowFields& window);
  // The platform's pointer capture for this window, or none.
  void (*capturePointer)(const WindowFields* window);
  void (*showMessageBox)(const WindowFields* owner, const char* text, const char* caption,
                         bool error);
  POINT (*screenSize)();
  double (*now)();            // milliseconds on a clock that never goes back
  void (*pump)();             // reports arrived input through the entry points below
  void (*wait)(int timeout);  // until input arrives or timeout ms pass (no limit when negative)
  void (*wake)();             // a message was queued: a wait that could not see it ends
};
// The program's backend (platform/sdl/ or platform/web/).
extern const Backend backend;

// Opens the display through the backend once; the entry calls it first.
bool OpenDisplay();
// Whether the icon is the program's own, from LoadIconA.
bool IsProgramIcon(HICON icon);
// The window that has the capture, or null.
const WindowFields* Captor();

// The entry points. Positions are client pixels of the window the platform reported them in
// (null: the captor's); the core routes them (capture, focus) and builds the messages. Reports
// for a window that is gone are dropped.
struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
};
enum class Button { kLeft, kMiddle, kRight };
void PointerMoved(HWND source, POINT client, Modifiers modifiers);
void ButtonChanged(HWND source, Button button, bool down, POINT client, Modifiers modifiers);
// Whether the core has a button down, for a release the platform could not report as an event.
bool ButtonHeld(Button button);
// A key by its virtual-key code (0: one the viewer's Win32 does not name); right says it is the
// right-hand Shift, Ctrl or Alt, or the keypad's Enter. The core gives it its scan code.
void KeyChanged(HWND source, WPARAM virtualKey, bool right, bool down, Modifiers modifiers);
// Text the key just pressed typed, in UTF-8; text without a key comes as VK_PACKET keys.
void TextTyped(HWND source, const char* text);
// The platform took the pointer capture away.
void CaptureLost();
// The window lost the keyboard focus; the capture goes with it.
void FocusLost(HWND window);
void WindowMinimised(HWND window, bool iconic);
void WindowExposed(HWND window);
// Where the window is now, in pixels from the primary screen's top-left corner.
void WindowMoved(HWND window, int x, int y);
void WindowResized(HWND window, int width, int height);
// The frame's close button.
void CloseRequested(HWND window);
// The session is ending (or someone asked the program to quit): every window is asked to close.
void SessionEnding();
// Decodes UTF-8 into the characters WM_CHAR carries (Latin-1; '?' beyond); returns the count.
std::size_t DecodeText(const char* text, WPARAM* characters, std::size_t capacity);

}  // namespace core
