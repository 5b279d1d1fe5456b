// The browser side of the shared queue of platform/win32_core/. Browser events arrive while the
// viewer waits (ASYNCIFY suspends it in GetMessageA or SwapBuffers) and are queued as they come.
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

// Browser events are queued by the browser's callbacks as they come.
void PumpInput() {}

void WaitForInput(int timeout) {
  WaitForBrowser(timeout);
}

// What a key types is what the browser said it typed last (layer.typed), except for the keys
// that type control characters whatever the layout.
BOOL TranslateMessage(const MSG* msg) {
  WPARAM key = msg == nullptr ? 0 : msg->wParam & 0xff;
  WPARAM control = ControlCharacterOfKey(key);
  return QueueCharacterOfKey(msg, control != 0 ? control : layer.typed[key]);
}

// The SDL2 layer notes these two calls for its tests; here they are the core's alone.
void PostQuitMessage(int exitCode) {
  PostQuit(exitCode);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  return StartTimer(window, id, elapse, timerFunc);
}
