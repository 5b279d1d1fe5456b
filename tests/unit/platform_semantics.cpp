// How window messages are delivered, written against the Win32 API alone: the same file runs
// against the SDL2 layer and, built for Windows, against the real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_state.h"
#include "platform/win32.h"

namespace {

std::vector<UINT> delivered;
LPARAM lastSize = 0;
bool paintWithoutBeginPaint = false;

LRESULT CALLBACK LoggingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  delivered.push_back(message);
  lastSize = message == WM_SIZE ? lParam : lastSize;
  if (message == WM_PAINT && paintWithoutBeginPaint) {
    return 0;
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
    window = CreateWindowExA(0, "SemanticsTest", "semantics", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
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

TEST_F(MessageSemantics, CreationAndDestructionMessagesAreSentBeforeTheCallReturns) {
  EXPECT_EQ(Count(WM_CREATE), 1);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(Count(WM_DESTROY), 1);
}

TEST_F(MessageSemantics, PostedMessagesWaitInTheQueueAndQuitEndsGetMessage) {
  ASSERT_TRUE(PostMessageA(window, kFirstPosted, 7, 8));
  EXPECT_EQ(Count(kFirstPosted), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.lParam, 8);
  EXPECT_FALSE(PeekMessageA(&msg, window, kFirstPosted, kFirstPosted, PM_NOREMOVE));
  DispatchMessageA(&msg);
  EXPECT_EQ(Count(kFirstPosted), 1);
  PostQuitMessage(3);
  PostMessageA(window, kSecondPosted, 0, 0);  // posted after the quit, still taken before it
  EXPECT_EQ(NextOwnMessage(&msg), kSecondPosted);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageSemantics, PaintAndTimerComeOnlyAfterPostedMessages) {
  ShowWindow(window, SW_SHOW);
  ASSERT_EQ(SetTimer(window, 1, 10, nullptr), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // lets the timer fall due
  PostMessageA(window, kFirstPosted, 0, 0);
  PostMessageA(window, kSecondPosted, 0, 0);
  MSG msg;
  EXPECT_EQ(NextOwnMessage(&msg), kFirstPosted);
  EXPECT_EQ(NextOwnMessage(&msg), kSecondPosted);
  std::vector<UINT> rest;
  while (std::count(rest.begin(), rest.end(), WM_PAINT) == 0 ||
         std::count(rest.begin(), rest.end(), WM_TIMER) == 0) {
    rest.push_back(NextOwnMessage(&msg));
    ASSERT_TRUE(rest.back() == WM_PAINT || rest.back() == WM_TIMER) << rest.back();
    DispatchMessageA(&msg);
  }
  EXPECT_TRUE(KillTimer(window, 1));
}

TEST_F(MessageSemantics, PaintHandledWithoutBeginPaintComesBack) {
  ShowWindow(window, SW_SHOW);
  MSG msg;
  paintWithoutBeginPaint = true;
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE)) << "round " << round;
    DispatchMessageA(&msg);
  }
  paintWithoutBeginPaint = false;
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE));
  DispatchMessageA(&msg);  // default processing validates
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(MessageSemantics, SetWindowPosSendsSizeOnlyOnARealChange) {
  RECT before;
  GetWindowRect(window, &before);
  delivered.clear();
  SetWindowPos(window, HWND_TOP, 0, 0, before.right - before.left, before.bottom - before.top,
               SWP_NOMOVE);
  EXPECT_EQ(Count(WM_SIZE), 0);
  SetWindowPos(window, HWND_TOP, 0, 0, 260, 240, SWP_NOMOVE);
  ASSERT_EQ(Count(WM_SIZE), 1);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(lastSize, MAKELPARAM(client.right, client.bottom));
  GetWindowRect(window, &before);
  EXPECT_EQ(before.right - before.left, 260);
}

TEST_F(MessageSemantics, MinimisedWindowIsIconicAndIsPaintedAgainWhenRestored) {
  ShowWindow(window, SW_SHOW);
  DispatchAll();
  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(window));
  DispatchAll();
  delivered.clear();
  ShowWindow(window, SW_RESTORE);
  EXPECT_FALSE(IsIconic(window));
  DispatchAll();
  EXPECT_GE(Count(WM_PAINT), 1);
}

// The viewer's idle handler draws nothing for a minimised window and takes itself out, so that
// the loop sleeps until the restored window's paint asks for frames again.
TEST_F(MessageSemantics, ViewerIdleHandlerStopsWhileTheWindowIsMinimised) {
  ShowWindow(window, SW_MINIMIZE);
  viewerState.deviceContext = GetDC(window);
  viewerState.renderContext = reinterpret_cast<HGLRC>(1);  // not drawn into while minimised
  viewerState.idleHandler = IdleRender;
  IdleRender();
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(viewerState.keepSpinning, 1);
  viewerState = ViewerState{};
}

TEST_F(MessageSemantics, ReleasingTheCaptureTellsTheWindowAtOnce) {
  SetCapture(window);
  delivered.clear();
  ReleaseCapture();
  EXPECT_EQ(Count(WM_CAPTURECHANGED), 1);
  ReleaseCapture();
  EXPECT_EQ(Count(WM_CAPTURECHANGED), 1);
}

TEST_F(MessageSemantics, SystemKeysTranslateToSystemCharacters) {
  struct Case {
    UINT key, character;
  };
  constexpr LPARAM kReturnWithAlt = 1 | (0x1C << 16) | (1 << 29);
  for (const Case& c : {Case{WM_KEYDOWN, WM_CHAR}, Case{WM_SYSKEYDOWN, WM_SYSCHAR}}) {
    MSG key = {window, c.key, VK_RETURN, kReturnWithAlt, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_CHAR, WM_SYSCHAR, PM_REMOVE)) << c.key;
    EXPECT_EQ(msg.message, c.character);
    EXPECT_EQ(msg.wParam, 13u);
  }
}

TEST_F(MessageSemantics, DefaultProcessingOfCloseDestroysTheWindow) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  DispatchAll();
  EXPECT_EQ(Count(WM_CLOSE), 1);
  EXPECT_EQ(Count(WM_DESTROY), 1);
}

}  // namespace
