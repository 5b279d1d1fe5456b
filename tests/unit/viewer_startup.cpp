// Start-up failures, a missing rendering context, and the message loop's scheduling.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "tests/unit/viewer_fixture.h"

// Nothrow array allocations fail while this is set, as they may when memory runs out.
static bool failNothrowArrays = false;

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return failNothrowArrays ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void operator delete[](void* pointer) noexcept {
  std::free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  std::free(pointer);
}
void* operator new[](std::size_t size) {
  void* pointer = std::malloc(size == 0 ? 1 : size);
  if (pointer == nullptr) {
    throw std::bad_alloc();
  }
  return pointer;
}

namespace {

using StartupTest = ViewerWindowTest;

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
          CreateViewerWindow();
        },
        testing::ExitedWithCode(1), c.box);
  }
}

TEST_F(StartupTest, FailedClassOrWindowEndsWithOneInsteadOfWaiting) {
  LayerInjectFault(LayerFault::kRegisterClass);
  EXPECT_EQ(ViewerMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT), 1);
  EXPECT_EQ(LayerLastMessageBox().count, 1);  // the error, and no hint before it
  EXPECT_EQ(LayerLastMessageBox().caption, "Error");

  LayerReset();
  LayerInjectFault(LayerFault::kCreateWindow);
  EXPECT_EQ(ViewerMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT), 1);
  EXPECT_EQ(LayerLastMessageBox().count, 2);  // the hint came first
  EXPECT_EQ(LayerLastMessageBox().type, MB_OK | MB_ICONERROR);
  // Both sides come from the smaller side of the screen.
  EXPECT_EQ(viewerState.windowWidth,
            WindowSideForScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(viewerState.windowHeight, viewerState.windowWidth);
}

TEST_F(StartupTest, WithoutAContextKeysStillWorkNothingIsDrawnAndEscCloses) {
  LayerInjectFault(LayerFault::kCreateContext);
  HWND window = CreateViewerWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(viewerState.renderContext, nullptr);
  EXPECT_EQ(ViewerWindowProc(window, WM_CHAR, 'f', 0), 0);
  EXPECT_EQ(viewerState.fogEnabled, 1);
  ASSERT_EQ(viewerState.idleHandler, &IdleRender);
  IdleRender();
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(LayerSwapCount(), 0);
  PostMessageA(window, WM_CHAR, 27, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
}

TEST_F(StartupTest, FailedPaletteAllocationMakesNoPalette) {
  PIXELFORMATDESCRIPTOR format = {};
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_NEED_PALETTE;
  format.cColorBits = 8;
  format.cRedBits = 8;
  LayerSetDescribedFormat(&format);
  failNothrowArrays = true;
  CreateViewerWindow();
  failNothrowArrays = false;
  LayerSetDescribedFormat(nullptr);
  EXPECT_EQ(viewerState.palette, nullptr);
  EXPECT_NE(viewerState.renderContext, nullptr);
}

TEST_F(StartupTest, FailedTextureAllocationLeavesTheTextureEmptyAndFramesStillDraw) {
  failNothrowArrays = true;
  HWND window = CreateViewerWindow();
  failNothrowArrays = false;
  ASSERT_NE(window, nullptr);
  ASSERT_NE(viewerState.renderContext, nullptr);
  GLint width = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 0);
  viewerState.textureEnabled = 1;
  RequestRedraw();
  IdleRender();
  EXPECT_EQ(LayerSwapCount(), 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(DestroyWindow(window));
}

// Message-loop probes: timers that end the loop or post a message between frames.
constexpr UINT_PTR kStopAfterFramesTimer = 71;
constexpr UINT_PTR kProbeTimer = 72;
constexpr int kFramesBeforeStop = 3;
int swapsWhenPosted = -1;
int swapsWhenHandled = -1;

LRESULT CALLBACK LoopProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kStopAfterFramesTimer) {
    if (LayerSwapCount() >= kFramesBeforeStop) {
      DestroyWindow(window);
    }
    return 0;
  }
  if (message == WM_TIMER && wParam == kProbeTimer) {
    KillTimer(window, kProbeTimer);
    PostMessageA(window, WM_USER, static_cast<WPARAM>(LayerSwapCount()), 0);
    return 0;
  }
  if (message == WM_USER) {
    swapsWhenPosted = static_cast<int>(wParam);
    swapsWhenHandled = LayerSwapCount();
    DestroyWindow(window);
    return 0;
  }
  return ViewerWindowProc(window, message, wParam, lParam);
}

class MessageLoopTest : public ViewerWindowTest {
 protected:
  void SetUp() override {
    ViewerWindowTest::SetUp();
    window = CreateViewerWindow(LoopProbeProc);
    ASSERT_NE(window, nullptr);
  }
  HWND window = nullptr;
};

TEST_F(MessageLoopTest, ThreeRequestsWithoutSpinningGiveOneFrame) {
  viewerState.keepSpinning = 0;
  PostMessageA(window, WM_CHAR, 'f', 0);
  PostMessageA(window, WM_CHAR, 'p', 0);
  PostMessageA(window, WM_CHAR, 'j', 0);
  SetTimer(window, kProbeTimer, 20, nullptr);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(swapsWhenHandled, 1);
  EXPECT_EQ(viewerState.fogEnabled, 1);
  EXPECT_EQ(viewerState.wireframe, 1);
}

TEST_F(MessageLoopTest, SpinningDrawsFramesBackToBackWithoutRequests) {
  RequestRedraw();
  SetTimer(window, kStopAfterFramesTimer, 5, nullptr);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_GE(LayerSwapCount(), kFramesBeforeStop);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
}

TEST_F(MessageLoopTest, AWaitingMessageIsHandledBeforeTheNextFrame) {
  RequestRedraw();
  SetTimer(window, kProbeTimer, 10, nullptr);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_GE(swapsWhenPosted, 1);
  EXPECT_EQ(swapsWhenHandled, swapsWhenPosted);
}

}  // namespace
