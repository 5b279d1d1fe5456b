// The SDL side of the shared queue of platform/win32_core/: waiting on SDL's events, what a key
// types, and the calls the tests watch.
#include "platform/sdl/layer.h"

// SDL waits for its own events; the layer's wake-ups come as events too.
void WaitForInput(int timeout) {
  EnsureVideo();
  SDL_WaitEventTimeout(nullptr, timeout);
}

// Only the keys that type control characters make WM_CHAR here; text comes from SDL's text
// input events.
BOOL TranslateMessage(const MSG* msg) {
  return QueueCharacterOfKey(msg, msg == nullptr ? 0 : ControlCharacterOfKey(msg->wParam));
}

void PostQuitMessage(int exitCode) {
  NoteCall("PostQuitMessage", static_cast<std::uintptr_t>(exitCode));
  PostQuit(exitCode);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  NoteCall("SetTimer", reinterpret_cast<std::uintptr_t>(window), id, elapse);
  return StartTimer(window, id, elapse, timerFunc);
}
