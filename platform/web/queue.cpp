// Peek/Get/Translate on the shared queue. Browser events arrive while the viewer waits (ASYNCIFY
// suspends it in GetMessageA or SwapBuffers) and are queued as they come. The queue's rules live
// in platform/win32_core/.
#include <emscripten.h>

#include "platform/web/layer.h"

// clang-format off
EM_JS(void, WakeWaitingLoop, (), {
  if (Module.ribbonWake) Module.ribbonWake();
});
// clang-format on

// Sleeps until an event is queued or timeout milliseconds pass (no limit when negative).
// clang-format off
EM_ASYNC_JS(void, WaitForBrowser, (int timeout), {
  await new Promise(resolve => {
    Module.ribbonWake = resolve;
    if (timeout >= 0) setTimeout(resolve, timeout);
  });
  Module.ribbonWake = null;
});
// clang-format on

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return FALSE;
  }
  return NextMessage({window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg) ? TRUE
                                                                                          : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return -1;
  }
  MessageFilter filter = {window, filterMin, filterMax};
  while (!NextMessage(filter, true, msg)) {
    WaitForBrowser(MillisecondsToNextTimer());
  }
  return msg->message == WM_QUIT ? 0 : 1;
}

// What a key types is what the browser said it typed last (layer.typed), except for the keys
// that type control characters whatever the layout.
BOOL TranslateMessage(const MSG* msg) {
  WPARAM key = msg == nullptr ? 0 : msg->wParam & 0xff;
  WPARAM control = ControlCharacterOfKey(key);
  return QueueCharacterOfKey(msg, control != 0 ? control : layer.typed[key]);
}

void PostQuitMessage(int exitCode) {
  PostQuit(exitCode);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  return StartTimer(window, id, elapse, timerFunc);
}
