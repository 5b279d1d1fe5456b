// The message queue, timers and the Peek/Get/Translate/Dispatch calls.
#include <algorithm>

#include "platform/sdl/input.h"
#include "platform/sdl/layer.h"

static MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(SDL_GetTicks64());
  msg.pt = layer.cursor;
  return msg;
}

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  layer.queue.push_back(MakeMessage(window, message, wParam, lParam));
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
  Uint64 now = SDL_GetTicks64();
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
  PumpSdlEvents();
  return NextMessage({window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg) ? TRUE
                                                                                          : FALSE;
}

// How long GetMessageA may sleep: until the next timer is due, or until an event comes.
static int WaitTimeout() {
  if (layer.timers.empty()) {
    return -1;
  }
  Uint64 now = SDL_GetTicks64();
  Uint64 next = layer.timers.front().due;
  for (const auto& timer : layer.timers) {
    next = std::min(next, timer.due);
  }
  return next <= now ? 0 : static_cast<int>(std::min<Uint64>(next - now, 0x7fffffff));
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
    SDL_WaitEventTimeout(nullptr, WaitTimeout());
  }
}

static bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

// Key-ups make no character; system keys (Alt held) make system characters.
static UINT CharacterMessageOfKey(UINT keyMessage) {
  return keyMessage == WM_KEYDOWN ? WM_CHAR : keyMessage == WM_SYSKEYDOWN ? WM_SYSCHAR : 0;
}

BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr || !IsKeyMessage(msg->message)) {
    return FALSE;
  }
  WPARAM character = CharacterOfVirtualKey(msg->wParam);
  UINT message = CharacterMessageOfKey(msg->message);
  if (message != 0 && character != 0) {
    layer.queue.push_front(MakeMessage(msg->hwnd, message, character, msg->lParam));
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  LayerWindow* window = msg == nullptr ? nullptr : LookUpWindow(msg->hwnd);
  if (window == nullptr) {
    return 0;
  }
  // As on Windows, a WM_PAINT handled without BeginPaint comes back.
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
  NoteCall("PostQuitMessage", static_cast<std::uintptr_t>(exitCode));
  layer.quitPosted = true;
  layer.quitCode = exitCode;
}

// Windows' shortest period.
constexpr UINT kMinimumPeriod = 10;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerFunc) {
  NoteCall("SetTimer", reinterpret_cast<std::uintptr_t>(window), id, elapse);
  if (timerFunc != nullptr || (window != nullptr && LookUpWindow(window) == nullptr)) {
    return 0;
  }
  if (window == nullptr) {
    id = layer.nextTimerId++;
  }
  Uint64 period = std::max(elapse, kMinimumPeriod);
  Uint64 due = SDL_GetTicks64() + period;
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
