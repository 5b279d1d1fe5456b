// The Win32 bookkeeping that the SDL2 and browser layers keep alike: window classes, window
// records and their handles, the message queue with its timers, palettes and module handles.
// Nothing here knows SDL or the browser; each layer derives its window record from CoreWindow
// and supplies the few hooks declared at the end. It carries no test hooks either: a layer that
// notes calls or injects faults does so in its own wrappers around these functions.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"

struct CoreClass {
  std::string name;
  WNDPROC procedure = nullptr;
  UINT style = 0;
  HICON icon = nullptr;
};

// What every layer records of a window; a layer adds what its platform needs by deriving.
struct CoreWindow {
  virtual ~CoreWindow() = default;
  std::uintptr_t id = 0;
  WNDPROC procedure = nullptr;
  std::string title;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int pixelFormat = 0;
  bool visible = false;
  bool invalid = false;
  bool iconic = false;
  HPALETTE selectedPalette = nullptr;
};

// Times are milliseconds on the layer's clock (Now).
struct CoreTimer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  double period = 0;
  double due = 0;
};

struct CorePalette {
  std::vector<PALETTEENTRY> entries;
};

struct Win32Core {
  std::vector<CoreClass> classes;
  std::vector<std::unique_ptr<CoreWindow>> windows;
  std::uintptr_t nextWindowId = 1;
  // Posted and input messages in arrival order; WM_QUIT, WM_PAINT and WM_TIMER are produced
  // from the flags and records below only when none of these matches.
  std::deque<MSG> queue;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<CoreTimer> timers;
  UINT_PTR nextTimerId = 1;
  std::vector<std::unique_ptr<CorePalette>> palettes;
  HWND capture = nullptr;
  POINT cursor = {0, 0};  // where the pointer was at the last input message, in screen pixels
};
extern Win32Core core;

// Handles and records (windows.cpp).
HWND WindowHandle(const CoreWindow& window);
HDC DeviceContextHandle(const CoreWindow& window);
CoreWindow* LookUpCoreWindow(HWND window);
CoreWindow* LookUpCoreWindowOfDC(HDC deviceContext);
// RegisterClassA's checks (a name and a procedure, the name not yet taken) and its record.
bool ClassAcceptable(const WNDCLASSA* windowClass);
ATOM AddClass(const WNDCLASSA& windowClass);
// The class a CreateWindowExA names, by name (any case) or by atom; null when there is none.
const CoreClass* ClassOfName(LPCSTR name);
// Takes the layer's new record, sends WM_CREATE and shows it when WS_VISIBLE asks; null when
// the procedure refused. A position left to the system (CW_USEDEFAULT) keeps the record's own.
HWND CreateCoreWindow(std::unique_ptr<CoreWindow> window, const CoreClass& windowClass,
                      LPCSTR windowName, DWORD style, int x, int y, int width, int height);
// The record goes, with its queued messages and timers, without any message.
void ForgetCoreWindow(HWND window);
bool MinimisingCommand(int showCommand);
bool RestoringCommand(int showCommand);

// The queue (queue.cpp).
void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// TranslateMessage for a key message whose key types character (0 for none).
BOOL QueueCharacterOfKey(const MSG* msg, WPARAM character);
// The control character a key types whatever the keyboard layout, or 0.
WPARAM ControlCharacterOfKey(WPARAM virtualKey);
void PostQuit(int exitCode);
// SetTimer without its test notes.
UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc);

// The capture (windows.cpp).
// SetCapture's bookkeeping: the window takes the capture and one that had it is told; false,
// changing nothing, for a dead window.
bool TakeCapture(HWND window);
// ReleaseCapture's: the capture goes, and its window is told before the call returns.
BOOL ReleaseCoreCapture();

// Palettes, kept and counted as plain objects (objects.cpp).
bool PaletteAcceptable(const LOGPALETTE* logicalPalette);
HPALETTE AddPalette(const LOGPALETTE& logicalPalette);
// Whether the handle is what LoadIconA gives for the program's own icon.
bool IsProgramIcon(HICON icon);

// Supplied by each layer.
// Milliseconds on a clock that never goes back, for timers and message times.
double Now();
// Moves the input that has arrived into the queue, as window messages.
void PumpInput();
// Sleeps until input arrives or timeout milliseconds pass (no limit when negative).
void WaitForInput(int timeout);
// A message was queued: a wait for input that could not see it ends.
void MessageQueued();
// Ends the capture, the platform's pointer capture with it, without telling the captor (a
// window being destroyed; ReleaseCapture tells it afterwards).
void DropCapture();
