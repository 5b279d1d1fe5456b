// Peek/Get/Translate on the shared queue: SDL's events are pumped into it first, and
// GetMessageA sleeps in SDL's event wait. The queue's rules live in platform/win32_core/.
#include "platform/sdl/layer.h"

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return FALSE;
  }
  PumpSdlEvents();
  return NextMessage({window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg) ? TRUE
                                                                                          : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return -1;
  }
  MessageFilter filter = {window, filterMin, filterMax};
  for (;;) {
    PumpSdlEvents();
    if (NextMessage(filter, true, msg)) {
      return msg->message == WM_QUIT ? 0 : 1;
    }
    EnsureVideo();
    // Until the next timer is due, or until an event comes.
    SDL_WaitEventTimeout(nullptr, MillisecondsToNextTimer());
  }
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
