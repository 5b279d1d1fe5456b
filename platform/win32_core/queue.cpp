// The message queue, timers and the calls that take, post, send and dispatch messages. How
// input reaches the queue and how a wait for it happens are the layer's (PumpInput,
// WaitForInput).
#include <algorithm>
#include <cmath>

#include "platform/win32_core/core.h"

static MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  // The tick count wraps as GetTickCount's does.
  msg.time = static_cast<DWORD>(static_cast<std::uint64_t>(Now()));
  msg.pt = core.cursor;
  return msg;
}

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  core.queue.push_back(MakeMessage(window, message, wParam, lParam));
  MessageQueued();
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
  for (auto& window : core.windows) {
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
  CoreTimer* due = nullptr;
  for (auto& timer : core.timers) {
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
  auto& queue = core.queue;
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (Matches(filter, it->hwnd, it->message)) {
      *msg = *it;
      if (remove) {
        queue.erase(it);
      }
      return true;
    }
  }
  if (core.quitPosted) {
    *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(core.quitCode), 0);
    core.quitPosted = !remove;
    return true;
  }
  return FindPaint(filter, msg) || FindTimer(filter, remove, msg);
}

// GetMessageA and PeekMessageA accept no window filter, or a live window.
static bool ValidFilterWindow(HWND window) {
  return window == nullptr || LookUpCoreWindow(window) != nullptr;
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return FALSE;
  }
  PumpInput();
  return NextMessage({window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg) ? TRUE
                                                                                          : FALSE;
}

// How long a wait for input may last: until the next timer is due; -1 without timers.
static int MillisecondsToNextTimer() {
  if (core.timers.empty()) {
    return -1;
  }
  double next = core.timers.front().due;
  for (const auto& timer : core.timers) {
    next = std::min(next, timer.due);
  }
  return static_cast<int>(std::ceil(std::clamp(next - Now(), 0.0, 2147483647.0)));
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return -1;
  }
  MessageFilter filter = {window, filterMin, filterMax};
  for (;;) {
    PumpInput();
    if (NextMessage(filter, true, msg)) {
      return msg->message == WM_QUIT ? 0 : 1;
    }
    WaitForInput(MillisecondsToNextTimer());
  }
}

WPARAM ControlCharacterOfKey(WPARAM virtualKey) {
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

// Key-ups type nothing; keys pressed with Alt (system keys) type system characters. The
// character goes first, as Windows puts it right after the key message.
BOOL QueueCharacterOfKey(const MSG* msg, WPARAM character) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP &&
                         msg->message != WM_SYSKEYDOWN && msg->message != WM_SYSKEYUP)) {
    return FALSE;
  }
  UINT message = msg->message == WM_KEYDOWN      ? WM_CHAR
                 : msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR
                                                 : 0;
  if (message != 0 && character != 0) {
    core.queue.push_front(MakeMessage(msg->hwnd, message, character, msg->lParam));
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  CoreWindow* window = msg == nullptr ? nullptr : LookUpCoreWindow(msg->hwnd);
  if (window == nullptr) {
    return 0;
  }
  // As on Windows, only BeginPaint or ValidateRect validates: a WM_PAINT handled without them
  // comes back.
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && LookUpCoreWindow(window) == nullptr) {
    return FALSE;
  }
  PostToQueue(window, message, wParam, lParam);
  return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CoreWindow* record = LookUpCoreWindow(window);
  return record == nullptr ? 0 : record->procedure(window, message, wParam, lParam);
}

void PostQuit(int exitCode) {
  core.quitPosted = true;
  core.quitCode = exitCode;
}

// Windows' shortest period.
constexpr UINT kMinimumPeriod = 10;

UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  if (timerFunc != nullptr || (window != nullptr && LookUpCoreWindow(window) == nullptr)) {
    return 0;
  }
  if (window == nullptr) {
    id = core.nextTimerId++;
  }
  double period = std::max(elapse, kMinimumPeriod);
  double due = Now() + period;
  for (auto& timer : core.timers) {
    if (timer.window == window && timer.id == id) {
      timer.period = period;
      timer.due = due;
      return id;
    }
  }
  core.timers.push_back(CoreTimer{window, id, period, due});
  return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto& timers = core.timers;
  auto found = std::find_if(timers.begin(), timers.end(), [&](const CoreTimer& timer) {
    return timer.window == window && timer.id == id;
  });
  if (found == timers.end()) {
    return FALSE;
  }
  timers.erase(found);
  return TRUE;
}
