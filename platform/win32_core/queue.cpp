// The message queue, timers and the calls that take, post, send, translate and dispatch messages.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "platform/win32_core/core.h"
#include "platform/win32_core/hooks.h"

namespace core {

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  // The tick count wraps as GetTickCount's does.
  msg.time = static_cast<DWORD>(static_cast<std::uint64_t>(backend.now()));
  msg.pt = state.cursor;
  return msg;
}

void Post(std::deque<MSG>& queue, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  queue.push_back(MakeMessage(window, message, wParam, lParam));
  backend.wake();
}

namespace {

struct Filter {
  HWND window;
  UINT first;
  UINT last;
};

bool Matches(const Filter& filter, HWND window, UINT message) {
  if (filter.window != nullptr && filter.window != window) {
    return false;
  }
  return (filter.first == 0 && filter.last == 0) ||
         (message >= filter.first && message <= filter.last);
}

const MSG& MessageOf(const MSG& msg) {
  return msg;
}
const MSG& MessageOf(const Input& input) {
  return input.msg;
}

// The first message the filter lets through; an input message taken is kept for TranslateMessage.
template <typename Queue>
bool TakeFrom(Queue& queue, const Filter& filter, bool remove, MSG* msg) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    const MSG& found = MessageOf(*it);
    if (Matches(filter, found.hwnd, found.message)) {
      *msg = found;
      if (remove) {
        if constexpr (std::is_same_v<typename Queue::value_type, Input>) {
          state.taken = *it;
        }
        queue.erase(it);
      }
      return true;
    }
  }
  return false;
}

// WM_PAINT for a shown window that is invalid; it stays until the window is validated.
bool FindPaint(const Filter& filter, MSG* msg) {
  for (auto& window : state.windows) {
    HWND handle = Handle(*window);
    if (window->visible && window->invalid && Matches(filter, handle, WM_PAINT)) {
      *msg = MakeMessage(handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  return false;
}

// The timer that falls due first among those the filter lets through, or null.
Timer* NextTimer(const Filter& filter) {
  Timer* next = nullptr;
  for (auto& timer : state.timers) {
    if (Matches(filter, timer.window, WM_TIMER) && (next == nullptr || timer.due < next->due)) {
      next = &timer;
    }
  }
  return next;
}

// WM_TIMER for the timer most overdue; taking it starts the timer's next period.
bool FindTimer(const Filter& filter, bool remove, MSG* msg) {
  double now = backend.now();
  Timer* due = NextTimer(filter);
  if (due == nullptr || due->due > now) {
    return false;
  }
  *msg = MakeMessage(due->window, WM_TIMER, due->id, 0);
  if (remove) {
    due->due = now + due->period;
  }
  return true;
}

// Windows' order: posted messages, input, then WM_QUIT, then WM_PAINT, then WM_TIMER.
bool NextMessage(const Filter& filter, bool remove, MSG* msg) {
  if (TakeFrom(state.posted, filter, remove, msg) || TakeFrom(state.input, filter, remove, msg)) {
    return true;
  }
  if (state.quitPosted) {
    *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0);
    state.quitPosted = !remove;
    return true;
  }
  return FindPaint(filter, msg) || FindTimer(filter, remove, msg);
}

// GetMessageA and PeekMessageA accept no window filter, or a live window.
bool ValidFilterWindow(HWND window) {
  return window == nullptr || LookUp(window) != nullptr;
}

// How long a wait for input may last: until the next timer the filter takes is due; -1 without.
int MillisecondsToNextTimer(const Filter& filter) {
  const Timer* next = NextTimer(filter);
  if (next == nullptr) {
    return -1;
  }
  return static_cast<int>(std::ceil(std::clamp(next->due - backend.now(), 0.0, 2147483647.0)));
}

}  // namespace
}  // namespace core

using namespace core;

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return FALSE;
  }
  backend.pump();
  return NextMessage({window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg) ? TRUE
                                                                                          : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr || !ValidFilterWindow(window)) {
    return -1;
  }
  Filter filter = {window, filterMin, filterMax};
  for (;;) {
    backend.pump();
    if (NextMessage(filter, true, msg)) {
      return msg->message == WM_QUIT ? 0 : 1;
    }
    backend.wait(MillisecondsToNextTimer(filter));
  }
}

// A key-down just taken types what the platform reported with it (a control character, the text
// typed with the key, a VK_PACKET's character); key messages that did not come from the platform
// (the viewer makes none) type nothing. Key-downs with Alt type system characters. The character
// goes first, as Windows puts it right after the key message.
BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP &&
                         msg->message != WM_SYSKEYDOWN && msg->message != WM_SYSKEYUP)) {
    return FALSE;
  }
  if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) {
    return TRUE;
  }
  const MSG& taken = state.taken.msg;
  bool wasTaken = taken.hwnd == msg->hwnd && taken.message == msg->message &&
                  taken.wParam == msg->wParam && taken.lParam == msg->lParam;
  WPARAM character = wasTaken ? state.taken.character : 0;
  if (character != 0) {
    UINT message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    state.posted.push_front(MakeMessage(msg->hwnd, message, character, msg->lParam));
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  Window* window = msg == nullptr ? nullptr : LookUp(msg->hwnd);
  if (window == nullptr) {
    return 0;
  }
  // As on Windows, only BeginPaint or ValidateRect validates: a WM_PAINT handled without them
  // comes back.
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && LookUp(window) == nullptr) {
    return FALSE;
  }
  Post(state.posted, window, message, wParam, lParam);
  return TRUE;
}

// Windows gives up on window procedures nested deeper than this, rather than overflow the stack.
constexpr int kMaximumSendDepth = 64;

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static int depth = 0;
  Window* record = LookUp(window);
  if (record == nullptr || depth > kMaximumSendDepth) {
    return 0;
  }
  ++depth;
  LRESULT result = record->procedure(window, message, wParam, lParam);
  --depth;
  return result;
}

void PostQuitMessage(int exitCode) {
  NoteCall("PostQuitMessage", static_cast<std::uintptr_t>(exitCode));
  state.quitPosted = true;
  state.quitCode = exitCode;
  backend.wake();
}

// Windows' shortest period.
constexpr UINT kMinimumPeriod = 10;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  NoteCall("SetTimer", reinterpret_cast<std::uintptr_t>(window), id, elapse);
  if (timerFunc != nullptr || (window != nullptr && LookUp(window) == nullptr)) {
    return 0;
  }
  if (window == nullptr) {
    id = state.nextTimerId++;
  }
  double period = std::max(elapse, kMinimumPeriod);
  double due = backend.now() + period;
  for (auto& timer : state.timers) {
    if (timer.window == window && timer.id == id) {
      timer.period = period;
      timer.due = due;
      return id;
    }
  }
  state.timers.push_back(Timer{window, id, period, due});
  return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto& timers = state.timers;
  auto found = std::find_if(timers.begin(), timers.end(), [&](const Timer& timer) {
    return timer.window == window && timer.id == id;
  });
  if (found == timers.end()) {
    return FALSE;
  }
  timers.erase(found);
  return TRUE;
}
