// How window messages are delivered, written against the Win32 API alone so that the same file
// runs against the SDL2 layer and, built for Windows, against the real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/win32.h"

namespace {

struct Delivery {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Delivery> deliveries;

LRESULT CALLBACK LoggingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  deliveries.push_back({window, message, wParam, lParam});
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int CountOf(UINT message) {
  return static_cast<int>(
      std::count_if(deliveries.begin(), deliveries.end(),
                    [message](const Delivery& d) { return d.message == message; }));
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
    RegisterClassA(&windowClass);  // fails harmlessly when an earlier test registered it
    deliveries.clear();
    window = CreateWindowExA(0, "SemanticsTest", "semantics", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
    }
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

TEST_F(MessageSemantics, CreationAndDestructionMessagesAreSentBeforeTheCallReturns) {
  ASSERT_GE(CountOf(WM_CREATE), 1);
  EXPECT_EQ(std::find_if(deliveries.begin(), deliveries.end(),
                         [](const Delivery& d) { return d.message == WM_CREATE; })
                ->window,
            window);
  EXPECT_EQ(CountOf(WM_DESTROY), 0);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(CountOf(WM_DESTROY), 1);
  EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(MessageSemantics, PostedMessageWaitsInTheQueueAndPeekCanLeaveIt) {
  ASSERT_TRUE(PostMessageA(window, kFirstPosted, 7, 8));
  EXPECT_EQ(CountOf(kFirstPosted), 0);
  MSG msg;
  for (int look = 0; look < 2; ++look) {
    ASSERT_TRUE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_NOREMOVE));
    EXPECT_EQ(msg.message, kFirstPosted);
  }
  ASSERT_TRUE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.lParam, 8);
  EXPECT_FALSE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_NOREMOVE));
  DispatchMessageA(&msg);
  EXPECT_EQ(CountOf(kFirstPosted), 1);
}

TEST_F(MessageSemantics, GetMessageReturnsZeroWithTheQuitCode) {
  PostQuitMessage(7);
  MSG msg;
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageSemantics, PaintAndTimerComeOnlyAfterPostedMessages) {
  ShowWindow(window, SW_SHOW);
  ASSERT_EQ(SetTimer(window, 1, 10, nullptr), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  PostMessageA(window, kFirstPosted, 0, 0);
  PostMessageA(window, kSecondPosted, 0, 0);
  MSG msg;
  EXPECT_EQ(NextOwnMessage(&msg), kFirstPosted);
  EXPECT_EQ(NextOwnMessage(&msg), kSecondPosted);
  bool paintSeen = false;
  bool timerSeen = false;
  while (!(paintSeen && timerSeen)) {
    UINT message = NextOwnMessage(&msg);
    ASSERT_TRUE(message == WM_PAINT || message == WM_TIMER) << message;
    paintSeen |= message == WM_PAINT;
    timerSeen |= message == WM_TIMER;
    DispatchMessageA(&msg);
  }
  EXPECT_TRUE(KillTimer(window, 1));
}

TEST_F(MessageSemantics, UpdateWindowSendsPaintOnlyWhileInvalid) {
  ShowWindow(window, SW_SHOW);
  deliveries.clear();
  UpdateWindow(window);
  EXPECT_EQ(CountOf(WM_PAINT), 1);
  UpdateWindow(window);
  EXPECT_EQ(CountOf(WM_PAINT), 1);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(CountOf(WM_PAINT), 2);
}

TEST_F(MessageSemantics, SetWindowPosSendsSizeOnlyOnARealChange) {
  RECT before;
  GetWindowRect(window, &before);
  deliveries.clear();
  SetWindowPos(window, HWND_TOP, 80, 80, before.right - before.left, before.bottom - before.top,
               SWP_NOMOVE);
  EXPECT_EQ(CountOf(WM_SIZE), 0);
  SetWindowPos(window, HWND_TOP, 80, 80, 260, 240, SWP_NOMOVE);
  ASSERT_EQ(CountOf(WM_SIZE), 1);
  RECT client;
  GetClientRect(window, &client);
  LPARAM size = std::find_if(deliveries.begin(), deliveries.end(), [](const Delivery& d) {
                  return d.message == WM_SIZE;
                })->lParam;
  EXPECT_EQ(LOWORD(size), client.right);
  EXPECT_EQ(HIWORD(size), client.bottom);
  RECT after;
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.right - after.left, 260);
}

TEST_F(MessageSemantics, DefaultProcessingOfCloseDestroysTheWindow) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(CountOf(WM_CLOSE), 1);
  EXPECT_EQ(CountOf(WM_DESTROY), 1);
  EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(MessageSemantics, TranslateMessageTurnsEscapeIntoCharacter27) {
  constexpr LPARAM kEscapeScanCode = 1 << 16;
  MSG key = {};
  key.hwnd = window;
  key.message = WM_KEYDOWN;
  key.wParam = VK_ESCAPE;
  key.lParam = kEscapeScanCode | 1;
  EXPECT_TRUE(TranslateMessage(&key));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_CHAR, WM_CHAR, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 27u);
}

}  // namespace
