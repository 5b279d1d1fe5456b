// The Win32 core's own records, shared by its files and its tests; no backend includes this (a
// backend sees backend.h only). It owns every Win32 call of platform/win32.h: argument checks,
// window and class records, the queue, timers, capture, palettes, pixel-format bookkeeping, and
// which messages are sent or posted with which wParam and lParam. The native work goes through
// the backend's table; the Win32 rules are decided here, once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32_core/backend.h"

namespace core {

struct Class {
  std::string name;
  WNDPROC procedure = nullptr;
  UINT style = 0;
  HICON icon = nullptr;
};

// The fields a backend reads, and the core's own.
struct Window : WindowFields {
  std::uintptr_t id = 0;
  WNDPROC procedure = nullptr;
  DWORD style = 0;
  bool invalid = false;
  bool iconic = false;
  bool destroying = false;
  HPALETTE selectedPalette = nullptr;
};

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

// Records and handles.
HWND Handle(const Window& window);
HDC DeviceContext(const Window& window);
Window* LookUp(HWND window);
Window* LookUpDC(HDC deviceContext);

// The character a key types whatever the keyboard layout (Esc, Return, Backspace, Tab,
// Ctrl+letter), or 0.
WPARAM ControlCharacter(WPARAM virtualKey, Modifiers modifiers);

// Inside the core.
MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void Post(std::deque<MSG>& queue, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ForgetWindow(HWND window);
// The window's native record made again, for a pixel-format request or with the backend's
// defaults; false when the platform cannot. DropNative lets the native window go.
bool MakeNative(Window& window, const PIXELFORMATDESCRIPTOR* request);
void DropNative(Window& window);

}  // namespace core
