// ViewerMain from start to end, its failures, and the message loop's scheduling.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "tests/gl/viewer_fixture.h"

namespace {

using StartupTest = ViewerTest;

int RunViewerMain() {
  return ViewerMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
}

// A whole run, ended by SDL's quit request (which closes every window): the calls in order.
TEST_F(StartupTest, ViewerMainRegistersHintsCreatesAndTearsDownInOrder) {
  GetSystemMetrics(SM_CYSCREEN);  // starts SDL, so that the quit request can wait in its queue
  SDL_Event quit = {};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  ASSERT_EQ(RunViewerMain(), 0);
  const std::string side = std::to_string(WindowSideForScreenHeight(GetSystemMetrics(SM_CYSCREEN)));
  const std::string number = "([1-9][0-9]*)";
  const int registered = FindCall(LayerCall(
      "RegisterClassA", CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
      reinterpret_cast<std::uintptr_t>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101))),
      reinterpret_cast<std::uintptr_t>(LoadCursorA(nullptr, IDC_ARROW))));
  const int hint = FindCall(LayerCall("MessageBoxA", MB_OK));
  const int created =
      FindCall(LayerCall("CreateWindowExA", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                         std::stoul(side), std::stoul(side)));
  const int timer = FindCall("SetTimer " + number + " 1 100");
  const int released = FindCall("wglMakeCurrent 0 0 0");
  EXPECT_TRUE(registered == 0 && hint == 1 && created == 2 && timer == 3)
      << registered << hint << created << timer;
  ASSERT_GT(released, timer);
  EXPECT_EQ(FindCall("wglDeleteContext " + number + " 0 0", released), released + 1);
  EXPECT_EQ(FindCall("ReleaseDC " + number + " " + number + " 0", released), released + 2);
  EXPECT_EQ(FindCall(LayerCall("PostQuitMessage", 0), released), released + 3);

  const LayerMessageBox& box = LayerLastMessageBox();
  EXPECT_EQ(box.count, 1);
  EXPECT_EQ(box.text, " mouse: touch the window image for movement----- ");
  EXPECT_EQ(box.caption, "soft by Valmorin - valmorin@ribbon-viewer.org ");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.windowsWhenShown, 0);
}

TEST_F(StartupTest, FailedClassOrWindowEndsWithOneAfterOneErrorBox) {
  for (LayerFault fault : {LayerFault::kRegisterClass, LayerFault::kCreateWindow}) {
    LayerReset();
    LayerInjectFault(fault);
    EXPECT_EQ(RunViewerMain(), 1);
    EXPECT_EQ(LayerLastMessageBox().caption, "Error");
    EXPECT_EQ(LayerLastMessageBox().type, MB_OK | MB_ICONERROR);
    // The hint comes only after the class exists.
    EXPECT_EQ(LayerLastMessageBox().count, fault == LayerFault::kRegisterClass ? 1 : 2);
  }
}

// Reports the last message box on stderr when the process exits, so a death test can see it.
void PrintLastBoxAtExit() {
  std::atexit([] {
    const LayerMessageBox& box = LayerLastMessageBox();
    std::fprintf(stderr, "[box count=%d owned=%d caption=%s type=%u text=%s]", box.count,
                 box.owner != nullptr, box.caption.c_str(), box.type, box.text.c_str());
  });
}

TEST_F(StartupTest, PixelFormatFailuresShowOneErrorBoxAndExitWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    LayerFault fault;
    const char* box;
  } cases[] = {
      {LayerFault::kChoosePixelFormat,
       "\\[box count=1 owned=1 caption=Error type=16 text=ChoosePixelFormat failed\n\\]"},
      {LayerFault::kSetPixelFormat,
       "\\[box count=1 owned=1 caption=Error type=16 text=SetPixelFormat failed\\]"},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          PrintLastBoxAtExit();
          LayerInjectFault(c.fault);
          Open();
        },
        testing::ExitedWithCode(1), c.box);
  }
}

TEST_F(StartupTest, WithoutAContextKeysStillWorkNothingIsDrawnAndEscCloses) {
  LayerInjectFault(LayerFault::kCreateContext);
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ViewerWindowProc(window, WM_CHAR, 'f', 0), 0);
  EXPECT_EQ(viewerState.fogEnabled, 1);
  ASSERT_EQ(viewerState.idleHandler, &IdleRender);
  IdleRender();
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(Swaps(), 0);
  PostMessageA(window, WM_CHAR, 27, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
}

// A probe window beside the viewer's: its timer posts a message, or ends the run after a few
// frames, by destroying the viewer's window.
constexpr UINT_PTR kStopAfterFramesTimer = 71;
constexpr UINT_PTR kProbeTimer = 72;
constexpr int kFramesBeforeStop = 3;
HWND viewerWindow = nullptr;
int swapsWhenPosted = -1;
int swapsWhenHandled = -1;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kStopAfterFramesTimer) {
    if (LayerCallCount("SwapBuffers") >= kFramesBeforeStop) {
      DestroyWindow(viewerWindow);
    }
  } else if (message == WM_TIMER && wParam == kProbeTimer) {
    KillTimer(window, kProbeTimer);
    PostMessageA(window, WM_USER, static_cast<WPARAM>(LayerCallCount("SwapBuffers")), 0);
  } else if (message == WM_USER) {
    swapsWhenPosted = static_cast<int>(wParam);
    swapsWhenHandled = LayerCallCount("SwapBuffers");
    DestroyWindow(viewerWindow);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class MessageLoopTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    viewerWindow = Open();
    ASSERT_NE(viewerWindow, nullptr);
    WNDCLASSA probeClass = {};
    probeClass.lpfnWndProc = ProbeProc;
    probeClass.lpszClassName = "Probe";
    RegisterClassA(&probeClass);
    probe = CreateWindowExA(0, "Probe", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  HWND probe = nullptr;
};

TEST_F(MessageLoopTest, ThreeRequestsWithoutSpinningGiveOneFrame) {
  viewerState.keepSpinning = 0;
  for (WPARAM key : {'f', 'p', 'j'}) {
    PostMessageA(viewerWindow, WM_CHAR, key, 0);
  }
  SetTimer(probe, kProbeTimer, 20, nullptr);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(swapsWhenHandled, 1);
}

TEST_F(MessageLoopTest, SpinningDrawsFramesBackToBackWithoutRequests) {
  RequestRedraw();
  SetTimer(probe, kStopAfterFramesTimer, 5, nullptr);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_GE(Swaps(), kFramesBeforeStop);
}

TEST_F(MessageLoopTest, AWaitingMessageIsHandledBeforeTheNextFrame) {
  RequestRedraw();
  SetTimer(probe, kProbeTimer, 10, nullptr);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_GE(swapsWhenPosted, 1);
  EXPECT_EQ(swapsWhenHandled, swapsWhenPosted);
}

}  // namespace
