// The message queue, timers and the Peek/Get/Translate/Dispatch calls. Browser events arrive
// while the viewer waits (ASYNCIFY suspends it in GetMessageA or SwapBuffers) and are queued
// as they come.
#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/web/layer.h"

static MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(Now());
  msg.pt = layer.cursor;
  return msg;
}

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

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  layer.queue.push_back(MakeMessage(window, message, wParam, lParam));
  WakeWaitingLoop();
}

void DropQueuedMessages(HWND window) {
  auto& queue = layer.queue;
  queue.erase(std::remove_if(queue.begin(), queue.end(),
                             [window](const MSG& msg) { return msg.hwnd == window; }),
              queue.end());
}

void DropTimers(HWND window) {
  auto& timers = layer.timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [window](const LayerTimer& timer) { return timer.window == window; }),
               timers.end());
}

struct MessageFilter {
  HWND window;
  UINT first;
  UINT last;
};

static bool Matches(const MessageFilter& filter, HWND window, UINT message) {
  if (filter.window != nullptr && filter.window != window) {
    return false;
  }
  return (filter.first == 0 && filter.last == 0) ||
         (message >= filter.first && message <= filter.last);
}

// WM_PAINT for a shown window that is invalid; it stays until the window is validated.
static bool FindPaint(const MessageFilter& filter, MSG* msg) {
  for (auto& window : layer.windows) {
    HWND handle = WindowHandle(*window);
    if (window->visible && window->invalid && Matches(filter, handle, WM_PAINT)) {
      *msg = MakeMessage(handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  return false;
}

// WM_TIMER for the timer most overdue; taking it starts the timer's next period.
static bool FindTimer(const MessageFilter& filter, bool remove, MSG* msg) {
  double now = Now();
  LayerTimer* due = nullptr;
  for (auto& timer : layer.timers) {
    if (timer.due <= now && Matches(filter, timer.window, WM_TIMER) &&
        (due == nullptr || timer.due < due->due)) {
      due = &timer;
    }
  }
  if (due == nullptr) {
    return false;
  }
  *msg = MakeMessage(due->window, WM_TIMER, due->id, 0);
  if (remove) {
    due->due = now + due->period;
  }
  return true;
}

// Windows' order: posted and input messages, then WM_QUIT, then WM_PAINT, then WM_TIMER.
static bool NextMessage(const MessageFilter& filter, bool remove, MSG* msg) {
  auto& queue = layer.queue;
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (Matches(filter, it->hwnd, it->message)) {
      *msg = *it;
      if (remove) {
        queue.erase(it);
      }
      return true;
    }
  }
  if (layer.quitPosted) {
    *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(layer.quitCode), 0);
    layer.quitPosted = !remove;
    return true;
  }
  return FindPaint(filter, msg) || FindTimer(filter, remove, msg);
}

static bool ValidFilterWindow(HWND window) {
  return window == nullptr || LookUpWindow(window) != nullptr;
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return FALSE;
  }
  return NextMessage({window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg) ? TRUE
                                                                                          : FALSE;
}

// How long GetMessageA may sleep: until the next timer is due, or until an event comes.
static int WaitTimeout() {
  if (layer.timers.empty()) {
    return -1;
  }
  double next = layer.timers.front().due;
  for (const auto& timer : layer.timers) {
    next = std::min(next, timer.due);
  }
  return static_cast<int>(std::ceil(std::max(0.0, next - Now())));
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return -1;
  }
  MessageFilter filter = {window, filterMin, filterMax};
  while (!NextMessage(filter, true, msg)) {
    WaitForBrowser(WaitTimeout());
  }
  return msg->message == WM_QUIT ? 0 : 1;
}

// Keys that type a control character whatever the keyboard layout.
static WPARAM ControlCharacter(WPARAM virtualKey) {
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

// Keys pressed with Alt are system keys, and what they type comes as WM_SYSCHAR, as on Windows.
BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP &&
                         msg->message != WM_SYSKEYDOWN && msg->message != WM_SYSKEYUP)) {
    return FALSE;
  }
  if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
    WPARAM key = msg->wParam & 0xff;
    WPARAM character = ControlCharacter(key) != 0 ? ControlCharacter(key) : layer.typed[key];
    UINT message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    if (character != 0) {
      layer.queue.push_front(MakeMessage(msg->hwnd, message, character, msg->lParam));
    }
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  LayerWindow* window = msg == nullptr ? nullptr : LookUpWindow(msg->hwnd);
  if (window == nullptr) {
    return 0;
  }
  // As on Windows, only BeginPaint or ValidateRect validates: a WM_PAINT handled without them
  // comes back.
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && LookUpWindow(window) == nullptr) {
    return FALSE;
  }
  PostToQueue(window, message, wParam, lParam);
  return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LayerWindow* record = LookUpWindow(window);
  return record == nullptr ? 0 : record->procedure(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  layer.quitPosted = true;
  layer.quitCode = exitCode;
}

// Windows' shortest period.
constexpr UINT kMinimumPeriod = 10;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  if (timerFunc != nullptr || (window != nullptr && LookUpWindow(window) == nullptr)) {
    return 0;
  }
  if (window == nullptr) {
    id = layer.nextTimerId++;
  }
  double period = std::max(elapse, kMinimumPeriod);
  double due = Now() + period;
  for (auto& timer : layer.timers) {
    if (timer.window == window && timer.id == id) {
      timer.period = period;
      timer.due = due;
      return id;
    }
  }
  layer.timers.push_back(LayerTimer{window, id, period, due});
  return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto& timers = layer.timers;
  auto found = std::find_if(timers.begin(), timers.end(), [&](const LayerTimer& timer) {
    return timer.window == window && timer.id == id;
  });
  if (found == timers.end()) {
    return FALSE;
  }
  timers.erase(found);
  return TRUE;
}
