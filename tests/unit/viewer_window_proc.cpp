// The window procedure's message and key tables, with and without a rendering context.
#include "tests/unit/palette_format.h"
#include "tests/unit/viewer_fixture.h"

namespace {

class WindowProcTest : public ViewerWindowTest {
 protected:
  void SetUp() override {
    ViewerWindowTest::SetUp();
    window = CreateViewerWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(viewerState.renderContext, nullptr);
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

TEST_F(WindowProcTest, CreationKeepsTheWindowsOwnFormattedDeviceContext) {
  EXPECT_EQ(WindowFromDC(viewerState.deviceContext), window);
  EXPECT_NE(GetPixelFormat(viewerState.deviceContext), 0);
  EXPECT_EQ(viewerState.palette, nullptr);  // true-colour display
}

TEST_F(WindowProcTest, CommandKeysToggleStepAndRequestOneRedrawEach) {
  struct Case {
    WPARAM key;
    BOOL ViewerState::*flag;
  };
  for (const Case& c : {Case{'f', &ViewerState::fogEnabled}, Case{'p', &ViewerState::wireframe}}) {
    for (BOOL expected : {1, 0}) {
      viewerState.idleHandler = nullptr;
      EXPECT_EQ(Send(WM_CHAR, c.key), 0);
      EXPECT_EQ(viewerState.*c.flag, expected) << static_cast<char>(c.key);
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
  Send(WM_CHAR, 'j');
  EXPECT_FLOAT_EQ(viewerState.adjustValue, 0.06f);
}

TEST_F(WindowProcTest, OtherCharactersGetDefaultProcessing) {
  for (WPARAM key : {WPARAM{'F'}, WPARAM{'P'}, WPARAM{'J'}, WPARAM{'K'}, WPARAM{'x'}, WPARAM{13}}) {
    EXPECT_EQ(Send(WM_CHAR, key), DefWindowProcA(window, WM_CHAR, key, 0));
  }
  for (WPARAM key : {WPARAM{'f'}, WPARAM{'p'}, WPARAM{'j'}, WPARAM{27}}) {  // with Alt held
    EXPECT_EQ(Send(WM_SYSCHAR, key), DefWindowProcA(window, WM_SYSCHAR, key, 0));
  }
  EXPECT_NE(viewerState.renderContext, nullptr);
  EXPECT_EQ(viewerState.fogEnabled, 0);
  EXPECT_EQ(viewerState.wireframe, 0);
  EXPECT_FLOAT_EQ(viewerState.adjustValue, 0.55f);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
}

TEST_F(WindowProcTest, EscapeDestroysReleasesAndPostsQuitZero) {
  viewerState.idleHandler = IdleRender;
  EXPECT_EQ(Send(WM_CHAR, 27), 0);
  EXPECT_EQ(viewerState.renderContext, nullptr);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  MSG msg = {};
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(WindowProcTest, ResizeIsUndoneOnlyWithAContext) {
  SetWindowPos(window, HWND_TOP, 0, 0, 300, 250, SWP_NOMOVE);
  EXPECT_EQ(ClientWidth(), kTestWindowSide);
  RECT outer = {};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.top, 50);
  WithoutContext([&] {
    SetWindowPos(window, HWND_TOP, 0, 0, 300, 250, SWP_NOMOVE);
    EXPECT_EQ(ClientWidth(), 300);
  });
}

TEST_F(WindowProcTest, PaintRequestsARedrawOnlyWithAContext) {
  ShowWindow(window, SW_SHOW);
  WithoutContext([&] {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(viewerState.idleHandler, nullptr);
  });
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
}

TEST_F(WindowProcTest, PointerPositionsAreSigned16BitAndNeedAContext) {
  WithoutContext([&] {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    EXPECT_EQ(viewerState.dragging, 0);
  });
  EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(65535, 0x8000)), 0);
  EXPECT_EQ(viewerState.dragStartX, -1);
  EXPECT_EQ(viewerState.dragStartY, -32768);
  EXPECT_EQ(viewerState.dragging, 1);
  EXPECT_EQ(viewerState.keepSpinning, 0);

  const float angleBefore = viewerState.rotationAngle;
  WithoutContext([&] { Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200)); });
  EXPECT_EQ(viewerState.rotationAngle, angleBefore);
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
  EXPECT_NE(viewerState.rotationAngle, angleBefore);

  // A click: release at the press pixel stops the model.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 6)), 0);
  EXPECT_EQ(viewerState.rotating, 0);
  EXPECT_EQ(viewerState.rotationAngle, 0.0f);
}

// Another window takes the capture mid-drag: the drag ends where the pointer was last seen, as a
// release there would, and later moves without the button turn nothing.
TEST_F(WindowProcTest, LosingTheCaptureEndsTheDragAtTheLastPointerPosition) {
  struct Case {
    int lastX;
    BOOL keepSpinning, rotating;
  };
  for (const Case& c : {Case{30, 1, 1}, Case{10, 0, 0}}) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.lastX, 10));
    viewerState.idleHandler = nullptr;
    SetCapture(nullptr);  // as another window's SetCapture would
    Send(WM_CAPTURECHANGED);
    EXPECT_EQ(viewerState.dragging, 0);
    EXPECT_EQ(viewerState.keepSpinning, c.keepSpinning) << c.lastX;
    EXPECT_EQ(viewerState.rotating, c.rotating) << c.lastX;
    EXPECT_EQ(viewerState.idleHandler, &IdleRender);
    const float angle = viewerState.rotationAngle;
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(200, 300));
    EXPECT_EQ(viewerState.rotationAngle, angle);
  }
}

TEST_F(WindowProcTest, WithoutAPaletteBothPaletteMessagesGetDefaultProcessing) {
  EXPECT_EQ(Send(WM_QUERYNEWPALETTE), DefWindowProcA(window, WM_QUERYNEWPALETTE, 0, 0));
  Send(WM_PALETTECHANGED, 0x1234);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
}

TEST_F(WindowProcTest, TimerAndUnknownMessagesChangeNothing) {
  for (UINT message : {WM_TIMER, WM_USER + 7, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN}) {
    Send(message, 1, MAKELPARAM(3, 3));
  }
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(viewerState.dragging + viewerState.rotating + viewerState.fogEnabled, 0);
  EXPECT_EQ(viewerState.rotationAngle, 2.0f);
}

// A display that needs a palette: the format is described as 8-bit 3-3-2 before creation.
class PaletteDisplayTest : public ViewerWindowTest {
 protected:
  void SetUp() override {
    ViewerWindowTest::SetUp();
    described = PaletteFormat332();
    LayerSetDescribedFormat(&described);
  }
  void TearDown() override {
    LayerSetDescribedFormat(nullptr);
    ViewerWindowTest::TearDown();
  }
  PIXELFORMATDESCRIPTOR described = {};
};

TEST_F(PaletteDisplayTest, PaletteIsBuiltAndRealisedAgainOnlyForOtherWindows) {
  HWND window = CreateViewerWindow();
  ASSERT_NE(viewerState.palette, nullptr);
  EXPECT_EQ(RealizePalette(viewerState.deviceContext), 256u);

  EXPECT_EQ(ViewerWindowProc(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0),
            DefWindowProcA(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0));
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(ViewerWindowProc(window, WM_PALETTECHANGED, 0x1234, 0), 0);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
  viewerState.idleHandler = nullptr;
  EXPECT_EQ(ViewerWindowProc(window, WM_QUERYNEWPALETTE, 0, 0), 1);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
}

TEST_F(PaletteDisplayTest, NoPaletteWhenItCannotBeDescribedOrMade) {
  described.cColorBits = 16;  // 65536 entries would not fit palNumEntries
  LayerSetDescribedFormat(&described);
  CreateViewerWindow();
  EXPECT_EQ(viewerState.palette, nullptr);
  LayerReset();
  described.cColorBits = 8;
  LayerSetDescribedFormat(&described);
  LayerInjectFault(LayerFault::kCreatePalette);
  CreateViewerWindow();
  EXPECT_EQ(viewerState.palette, nullptr);
  EXPECT_NE(viewerState.renderContext, nullptr);
}

}  // namespace
