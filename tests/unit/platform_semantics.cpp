// How window messages are delivered, written against the Win32 API alone: the same file runs
// against the SDL2 layer and, built for Windows, against the real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/win32.h"

namespace {

std::vector<UINT> delivered;
std::map<UINT, LPARAM> lastLParam;
UINT refused = 0;  // WM_NCCREATE or WM_CREATE: the procedure refuses the creation there
CREATESTRUCTA created = {};
int creationParameter = 0;
bool destroyAgainOnDestroy = false;
BOOL destroyedAgain = FALSE;

LRESULT CALLBACK LoggingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  delivered.push_back(message);
  lastLParam[message] = lParam;
  if (message == WM_CREATE) {
    created = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
  }
  if (message == refused) {
    return message == WM_CREATE ? -1 : FALSE;
  }
  if (message == WM_DESTROY && destroyAgainOnDestroy) {
    destroyAgainOnDestroy = false;  // destroyed once more, from inside
    destroyedAgain = DestroyWindow(window);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

long Count(UINT message) {
  return std::count(delivered.begin(), delivered.end(), message);
}

void DispatchAll() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    DispatchMessageA(&msg);
  }
}

constexpr UINT kFirstPosted = WM_USER + 1;
constexpr UINT kSecondPosted = WM_USER + 2;

class MessageSemantics : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = LoggingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SemanticsTest";
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    delivered.clear();
    window = Create();
    ASSERT_NE(window, nullptr);
  }
  static HWND Create() {
    return CreateWindowExA(0, "SemanticsTest", "semantics", WS_OVERLAPPEDWINDOW, 40, 60, 300, 200,
                           nullptr, nullptr, GetModuleHandleA(nullptr), &creationParameter);
  }
  void TearDown() override {
    refused = 0;
    DestroyWindow(window);
    DispatchAll();
  }
  // Takes messages until one of ours arrives and returns it (undispatched).
  UINT NextOwnMessage(MSG* msg) {
    while (GetMessageA(msg, nullptr, 0, 0) == 1) {
      if (msg->hwnd == window && (msg->message == kFirstPosted || msg->message == kSecondPosted ||
                                  msg->message == WM_PAINT || msg->message == WM_TIMER)) {
        return msg->message;
      }
      DispatchMessageA(msg);
    }
    return WM_QUIT;
  }
  HWND window = nullptr;
};

TEST_F(MessageSemantics, CreationAndDestructionMessagesAreSentBeforeTheCallReturnsOrRefused) {
  auto at = [](UINT message) { return std::find(delivered.begin(), delivered.end(), message); };
  ASSERT_EQ(Count(WM_CREATE), 1);
  EXPECT_LT(at(WM_NCCREATE), at(WM_CREATE));
  EXPECT_EQ(created.lpCreateParams, &creationParameter);
  EXPECT_EQ(std::make_tuple(created.x, created.y, created.cx, created.cy, created.style),
            std::make_tuple(40, 60, 300, 200, static_cast<LONG>(WS_OVERLAPPEDWINDOW)));
  EXPECT_STREQ(created.lpszName, "semantics");
  EXPECT_NE(LoadIconA(created.hInstance, MAKEINTRESOURCEA(101)), nullptr);  // the program's icon
  // Destroyed again from its own WM_DESTROY; the handle is stale after, also once a new window
  // exists, and what was posted to it has left the queue.
  PostMessageA(window, kFirstPosted, 0, 0);
  destroyAgainOnDestroy = true;
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(destroyedAgain);  // WM_DESTROY comes again, but the window goes once
  EXPECT_EQ(std::make_pair(Count(WM_DESTROY), Count(WM_NCDESTROY)), std::make_pair(2L, 1L));
  EXPECT_LT(at(WM_DESTROY), at(WM_NCDESTROY));
  const HWND stale = window;
  window = Create();  // TearDown destroys this one
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, kFirstPosted, kFirstPosted, PM_NOREMOVE));
  EXPECT_FALSE(PostMessageA(stale, kFirstPosted, 0, 0));
  delivered.clear();
  EXPECT_EQ(SendMessageA(stale, kFirstPosted, 0, 0), 0);
  EXPECT_EQ(Count(kFirstPosted), 0);
  // Refused by WM_NCCREATE or WM_CREATE, the window was never made: no handle, only WM_NCDESTROY.
  for (UINT refusing : {WM_NCCREATE, WM_CREATE}) {
    refused = refusing;
    delivered.clear();
    EXPECT_EQ(Create(), nullptr);
    EXPECT_EQ(std::make_tuple(Count(WM_CREATE), Count(WM_DESTROY), Count(WM_NCDESTROY)),
              std::make_tuple(refusing == WM_CREATE ? 1L : 0L, 0L, 1L));
  }
}

TEST_F(MessageSemantics, PostedMessagesWaitInTheQueueAndQuitEndsGetMessage) {
  ASSERT_TRUE(PostMessageA(window, kFirstPosted, 7, 8));
  EXPECT_EQ(Count(kFirstPosted), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_REMOVE));
  EXPECT_EQ(std::make_tuple(msg.wParam, msg.lParam), std::make_tuple(WPARAM{7}, LPARAM{8}));
  EXPECT_FALSE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_NOREMOVE));
  DispatchMessageA(&msg);
  EXPECT_EQ(Count(kFirstPosted), 1);
  PostQuitMessage(3);
  PostMessageA(window, kSecondPosted, 0, 0);  // posted after the quit, still taken before it
  EXPECT_EQ(NextOwnMessage(&msg), kSecondPosted);
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageSemantics, PaintAndTimerComeAfterPostedMessagesAndTheTimerKeepsItsPeriod) {
  ShowWindow(window, SW_SHOW);
  ASSERT_EQ(SetTimer(window, 1, 10, nullptr), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // lets the timer fall due
  PostMessageA(window, kFirstPosted, 0, 0);
  PostMessageA(window, kSecondPosted, 0, 0);
  MSG msg;
  EXPECT_EQ(NextOwnMessage(&msg), kFirstPosted);
  EXPECT_EQ(NextOwnMessage(&msg), kSecondPosted);
  // Both due: Windows takes WM_PAINT before WM_TIMER.
  EXPECT_EQ(NextOwnMessage(&msg), WM_PAINT);
  DispatchMessageA(&msg);
  EXPECT_EQ(NextOwnMessage(&msg), WM_TIMER);
  // Then no sooner than its period, never below 10 ms (less the clocks' 2 ms apart).
  const auto start = std::chrono::steady_clock::now();
  SetTimer(window, 1, 1, nullptr);
  for (int tick = 1; tick <= 3; ++tick) {
    ASSERT_EQ(NextOwnMessage(&msg), WM_TIMER);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3 * 10 - 2));
}

// The window goes where the call puts it, one side may change alone, WM_SIZE only on a change.
TEST_F(MessageSemantics, SetWindowPosMovesAndSizesEachSideAlone) {
  const auto corners = [this] {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return std::make_tuple(rect.left, rect.top, rect.right, rect.bottom);
  };
  SetWindowPos(window, HWND_TOP, 0, 0, 300, 200, SWP_NOMOVE);  // the same size
  SetWindowPos(window, HWND_TOP, 0, 0, 260, 200, SWP_NOMOVE);  // then each side alone
  SetWindowPos(window, HWND_TOP, 0, 0, 260, 150, SWP_NOMOVE);
  EXPECT_EQ(corners(), std::make_tuple(40, 60, 300, 210));
  SetWindowPos(window, HWND_TOP, 70, 90, 10, 10, SWP_NOSIZE);
  EXPECT_EQ(corners(), std::make_tuple(70, 90, 330, 240));
  EXPECT_EQ(Count(WM_SIZE), 2);
}

TEST_F(MessageSemantics, LosingTheCaptureTellsTheWindowAtOnce) {
  HWND other = CreateWindowExA(0, "SemanticsTest", "other", WS_OVERLAPPEDWINDOW, 60, 60, 100, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetCapture(window);
  delivered.clear();
  EXPECT_EQ(SetCapture(window), window);  // taken again, it is told all the same
  EXPECT_EQ(SetCapture(other), window);
  EXPECT_EQ(Count(WM_CAPTURECHANGED), 2);
  EXPECT_EQ(lastLParam[WM_CAPTURECHANGED], reinterpret_cast<LPARAM>(other));  // the new captor
  delivered.clear();
  ReleaseCapture();
  ReleaseCapture();
  EXPECT_EQ(Count(WM_CAPTURECHANGED), 1);
  EXPECT_EQ(lastLParam[WM_CAPTURECHANGED], 0);
  DestroyWindow(other);
}

}  // namespace
