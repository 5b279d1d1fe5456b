// The window procedure's message and key tables, with and without a rendering context.
#include "tests/gl/viewer_fixture.h"
#include "tests/unit/palette_format.h"

namespace {

class WindowProcTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    window = Open();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(viewerState.renderContext, nullptr);
    EXPECT_EQ(WindowFromDC(viewerState.deviceContext), window);
    EXPECT_EQ(viewerState.palette, nullptr);  // true-colour display
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ViewerWindowProc(window, message, wParam, lParam);
  }
  // Runs fn without a rendering context, as after a failed wglCreateContext.
  template <typename Fn>
  void WithoutContext(Fn fn) {
    HGLRC context = viewerState.renderContext;
    viewerState.renderContext = nullptr;
    fn();
    viewerState.renderContext = context;
  }
  int ClientWidth() {
    RECT client = {};
    GetClientRect(window, &client);
    return client.right - client.left;
  }
  HWND window = nullptr;
};

TEST_F(WindowProcTest, CommandKeysToggleStepAndRequestOneRedrawEach) {
  for (auto flag : {&ViewerState::fogEnabled, &ViewerState::wireframe}) {
    const WPARAM key = flag == &ViewerState::fogEnabled ? 'f' : 'p';
    for (BOOL expected : {1, 0}) {
      viewerState.idleHandler = nullptr;
      EXPECT_EQ(Send(WM_CHAR, key), 0);
      EXPECT_EQ(viewerState.*flag, expected) << static_cast<char>(key);
      EXPECT_EQ(viewerState.idleHandler, &IdleRender);
    }
  }
  for (int i = 0; i < 12; ++i) {
    Send(WM_CHAR, 'j');
  }
  EXPECT_FLOAT_EQ(viewerState.adjustValue, 1.05f);
  for (int i = 0; i < 25; ++i) {
    Send(WM_CHAR, 'k');
  }
  EXPECT_FLOAT_EQ(viewerState.adjustValue, 0.01f);
  viewerState.idleHandler = nullptr;
  for (WPARAM key : {WPARAM{'F'}, WPARAM{'P'}, WPARAM{'x'}, WPARAM{13}}) {
    EXPECT_EQ(Send(WM_CHAR, key), DefWindowProcA(window, WM_CHAR, key, 0));
  }
  EXPECT_EQ(viewerState.idleHandler, nullptr);
}

TEST_F(WindowProcTest, EscapeDestroysTheWindowAndQuitsWithZero) {
  viewerState.idleHandler = IdleRender;
  EXPECT_EQ(Send(WM_CHAR, 27), 0);
  EXPECT_EQ(viewerState.renderContext, nullptr);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  MSG msg = {};
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(WindowProcTest, ResizeIsUndoneOnlyWithAContext) {
  SetWindowPos(window, HWND_TOP, 0, 0, 300, 250, SWP_NOMOVE);
  EXPECT_EQ(ClientWidth(), kTestWindowSide);
  RECT outer = {};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left + outer.top, 100);  // still at (50, 50)
  WithoutContext([&] {
    SetWindowPos(window, HWND_TOP, 0, 0, 300, 250, SWP_NOMOVE);
    EXPECT_EQ(ClientWidth(), 300);
  });
}

TEST_F(WindowProcTest, PaintValidatesAndRequestsARedrawOnlyWithAContext) {
  ShowWindow(window, SW_SHOW);
  MSG msg;
  for (bool context : {false, true}) {
    HGLRC kept = viewerState.renderContext;
    viewerState.renderContext = context ? kept : nullptr;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    viewerState.renderContext = kept;
    EXPECT_EQ(viewerState.idleHandler != nullptr, context);
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << context;
  }
}

TEST_F(WindowProcTest, PressCapturesReleaseReleasesPositionsAreSigned) {
  WithoutContext([&] { Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20)); });
  EXPECT_EQ(viewerState.dragging, 0);
  EXPECT_EQ(LayerCallCount("SetCapture"), 0);
  EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(65535, 0x8000)), 0);
  EXPECT_EQ(LayerCalls().back(), LayerCall("SetCapture", reinterpret_cast<std::uintptr_t>(window)));
  EXPECT_EQ(viewerState.dragStartX, -1);
  EXPECT_EQ(viewerState.dragStartY, -32768);
  const float angle = viewerState.rotationAngle;
  WithoutContext([&] { Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200)); });
  EXPECT_EQ(viewerState.rotationAngle, angle);
  EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 6)), 0);
  EXPECT_EQ(LayerCallCount("ReleaseCapture"), 1);
  EXPECT_EQ(viewerState.keepSpinning, 1);  // released away from the press: spinning
}

// A press on a spinning model: at most the frame already asked for still turns it.
TEST_F(WindowProcTest, PressOnASpinningModelStopsItWithinOneFrame) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 200));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(240, 200));
  for (int frame = 0; frame < 3; ++frame) {
    IdleRender();
  }
  ASSERT_EQ(viewerState.idleHandler, &IdleRender);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  const int swaps = Swaps();
  for (int frame = 0; frame < 3 && viewerState.idleHandler != nullptr; ++frame) {
    viewerState.idleHandler();
  }
  EXPECT_LE(Swaps() - swaps, 1);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  Send(WM_LBUTTONUP, 0, MAKELPARAM(100, 100));  // a click: rest
  viewerState.idleHandler = nullptr;
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  EXPECT_EQ(viewerState.idleHandler, nullptr);  // a press asks for no frame of its own
}

TEST_F(WindowProcTest, TimerUnknownAndPaletteMessagesWithoutAPaletteChangeNothing) {
  for (UINT message : {WM_TIMER, WM_USER + 7, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_PALETTECHANGED}) {
    Send(message, 1, MAKELPARAM(3, 3));
  }
  EXPECT_EQ(Send(WM_QUERYNEWPALETTE), DefWindowProcA(window, WM_QUERYNEWPALETTE, 0, 0));
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(viewerState.dragging + viewerState.rotating + viewerState.fogEnabled, 0);
  EXPECT_EQ(viewerState.rotationAngle, 2.0f);
}

// A display that needs a palette: the format is described as 8-bit 3-3-2 before creation.
TEST_F(ViewerTest, PaletteIsBuiltAndRealisedAgainOnlyForOtherWindows) {
  const PIXELFORMATDESCRIPTOR described = PaletteFormat332();
  LayerSetDescribedFormat(&described);
  HWND window = Open();
  ASSERT_NE(viewerState.palette, nullptr);
  EXPECT_EQ(RealizePalette(viewerState.deviceContext), 256u);
  const WPARAM self = reinterpret_cast<WPARAM>(window);
  EXPECT_EQ(ViewerWindowProc(window, WM_PALETTECHANGED, self, 0),
            DefWindowProcA(window, WM_PALETTECHANGED, self, 0));
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(ViewerWindowProc(window, WM_PALETTECHANGED, 0x1234, 0), 0);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
  viewerState.idleHandler = nullptr;
  EXPECT_EQ(ViewerWindowProc(window, WM_QUERYNEWPALETTE, 0, 0), 1);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
  LayerReset();
  LayerInjectFault(LayerFault::kCreatePalette);
  LayerSetDescribedFormat(&described);
  Open();
  EXPECT_EQ(viewerState.palette, nullptr);
  EXPECT_NE(viewerState.renderContext, nullptr);
}

}  // namespace
