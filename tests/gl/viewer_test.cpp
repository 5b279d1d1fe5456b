// The viewer through the test build of the layer: ViewerMain from start to end and its failures,
// the window procedure's messages and keys, and the message loop's scheduling.
#include <SDL.h>

#include <tuple>

#include "tests/gl/viewer_fixture.h"
#include "tests/unit/palette_format.h"

namespace {

int RunViewerMain() {
  return ViewerMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
}

std::uintptr_t Handle(const void* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

// A whole run, ended by SDL's quit request (which closes every window): the class with the
// program's icon, then the plain hint box, then the window; and the context released before it
// is deleted, then the device context, then the quit.
TEST_F(ViewerTest, ViewerMainHintsFirstAndTearsDownInOrder) {
  SDL_Init(SDL_INIT_VIDEO);
  SDL_Event quit = {};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  ASSERT_EQ(RunViewerMain(), 0);
  const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
  const int hint = FindCall(LayerCall("MessageBoxA", MB_OK));
  EXPECT_LT(FindCall("RegisterClassA [0-9]+ " + std::to_string(Handle(icon)) + " .*"), hint);
  EXPECT_LT(hint, FindCall("CreateWindowExA.*"));
  EXPECT_EQ(LayerLastMessageBox().text, " mouse: touch the window image for movement----- ");
  const int released = FindCall("wglMakeCurrent 0 0 0");
  ASSERT_GT(released, 3);
  EXPECT_EQ(FindCall("wglDeleteContext [1-9][0-9]* 0 0", released), released + 1);
  EXPECT_EQ(FindCall("ReleaseDC [1-9][0-9]* [1-9][0-9]* 0", released), released + 2);
  EXPECT_EQ(FindCall(LayerCall("PostQuitMessage", 0), released), released + 3);
  EXPECT_EQ(viewerState.renderContext, nullptr);  // a late message must not find the dead one
}

TEST_F(ViewerTest, FailedClassOrWindowEndsWithOneAfterOneErrorBox) {
  for (LayerFault fault : {LayerFault::kRegisterClass, LayerFault::kCreateWindow}) {
    LayerReset();
    LayerInjectFault(fault);
    EXPECT_EQ(RunViewerMain(), 1);
    const auto& box = LayerLastMessageBox();  // the hint comes only after the class exists
    EXPECT_EQ(std::make_tuple(box.caption, box.type, box.count),
              std::make_tuple("Error", MB_OK | MB_ICONERROR,
                              fault == LayerFault::kRegisterClass ? 1 : 2));
  }
}

TEST_F(ViewerTest, PixelFormatFailuresReportAndExitWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (LayerFault fault : {LayerFault::kChoosePixelFormat, LayerFault::kSetPixelFormat}) {
    const char* call = fault == LayerFault::kSetPixelFormat ? "Set" : "Choose";
    EXPECT_EXIT((LayerInjectFault(fault), Open()), testing::ExitedWithCode(1),
                std::string("^ribbon: ") + call + "PixelFormat failed\n$");
  }
}

TEST_F(ViewerTest, WithoutAContextKeysStillWorkNothingIsDrawnAndEscCloses) {
  LayerInjectFault(LayerFault::kCreateContext);
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  for (UINT message : {WM_LBUTTONDOWN, WM_SIZE, WM_PAINT}) {
    ViewerWindowProc(window, message, 0, MAKELPARAM(10, 20));
  }
  EXPECT_EQ(viewerState.dragging + LayerCallCount("SetCapture"), 0);
  EXPECT_EQ(ViewerWindowProc(window, WM_CHAR, 'f', 0), 0);
  IdleRender();
  EXPECT_EQ(std::make_tuple(viewerState.idleHandler, Swaps()), std::make_tuple(nullptr, 0));
  ViewerWindowProc(window, WM_CHAR, 27, 0);
  ASSERT_EQ(LayerCallCount("PostQuitMessage"), 1);  // else the loop would wait for ever
  EXPECT_EQ(RunMessageLoop(), 0);
}

class WindowProcTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    window = Open();
    ASSERT_NE(viewerState.renderContext, nullptr);
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ViewerWindowProc(window, message, wParam, lParam);
  }
  HWND window = nullptr;
};

// Command keys ask for a frame; other characters, and commands with Alt held, go to the default.
TEST_F(WindowProcTest, CommandKeysRequestARedrawOthersGoToTheDefault) {
  const struct {
    UINT message;
    WPARAM key;
    bool command;
  } cases[] = {{WM_CHAR, 'f', true},     {WM_CHAR, 'p', true},     {WM_CHAR, 'j', true},
               {WM_CHAR, 'k', true},     {WM_CHAR, 'x', false},    {WM_CHAR, 'F', false},
               {WM_SYSCHAR, 'f', false}, {WM_SYSCHAR, 'p', false}, {WM_SYSCHAR, 27, false}};
  for (const auto& c : cases) {
    viewerState.idleHandler = nullptr;
    EXPECT_EQ(Send(c.message, c.key), c.command ? 0 : DefWindowProcA(window, c.message, c.key, 0));
    EXPECT_EQ(viewerState.idleHandler != nullptr, c.command) << char(c.key);
  }
  EXPECT_NE(viewerState.renderContext, nullptr);
}

// The press captures at signed positions. Then another window takes the capture mid-drag: the
// drag ends where the pointer was last seen, as a release there would (spinning unless that is
// the press point), and later moves without the button turn nothing.
TEST_F(WindowProcTest, PressCapturesAndLosingTheCaptureEndsTheDragWhereThePointerWas) {
  EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(65535, 0x8000)), 0);
  EXPECT_EQ(LayerCalls().back(), LayerCall("SetCapture", Handle(window)));
  EXPECT_EQ(viewerState.dragStartX + viewerState.dragStartY, -1 - 32768);
  EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 6)), 0);
  EXPECT_EQ(LayerCallCount("ReleaseCapture"), 1);
  for (int lastX : {30, 10}) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(lastX, 10));
    viewerState.idleHandler = nullptr;
    SetCapture(nullptr);  // as another window's SetCapture would
    Send(WM_CAPTURECHANGED);
    EXPECT_EQ(
        std::make_tuple(viewerState.dragging, viewerState.keepSpinning, viewerState.idleHandler),
        std::make_tuple(0, lastX != 10 ? 1 : 0, &IdleRender))
        << lastX;
    const float angle = viewerState.rotationAngle;
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(200, 300));
    EXPECT_EQ(viewerState.rotationAngle, angle);
  }
}

// A press on a spinning model: at most the frame already asked for still turns it.
TEST_F(WindowProcTest, PressOnASpinningModelStopsItWithinOneFrame) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 200));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(240, 200));
  IdleRender();
  ASSERT_EQ(viewerState.idleHandler, &IdleRender);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  const int swaps = Swaps();
  for (int frame = 0; frame < 3 && viewerState.idleHandler != nullptr; ++frame) {
    viewerState.idleHandler();
  }
  EXPECT_LE(Swaps() - swaps, 1);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
}

// The idle handler draws nothing for a minimised window and takes itself out, so that the loop
// sleeps until the restored window's paint asks for frames again.
TEST_F(WindowProcTest, IdleHandlerStopsWhileTheWindowIsMinimised) {
  ShowWindow(window, SW_MINIMIZE);
  RequestRedraw();
  IdleRender();
  EXPECT_EQ(std::make_tuple(viewerState.idleHandler, viewerState.keepSpinning, Swaps()),
            std::make_tuple(nullptr, 1, 0));
}

// A display that needs a palette: the format is described as 8-bit 3-3-2 before creation.
TEST_F(ViewerTest, PaletteIsBuiltAndRealisedAgainOnlyForOtherWindows) {
  const PIXELFORMATDESCRIPTOR described = PaletteFormat332();
  LayerSetDescribedFormat(&described);
  HWND window = Open();
  ASSERT_NE(viewerState.palette, nullptr);
  EXPECT_EQ(RealizePalette(viewerState.deviceContext), 256u);
  EXPECT_EQ(ViewerWindowProc(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0), 0);
  EXPECT_EQ(viewerState.idleHandler, nullptr);
  EXPECT_EQ(ViewerWindowProc(window, WM_PALETTECHANGED, 0x1234, 0), 0);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
  viewerState.idleHandler = nullptr;
  EXPECT_EQ(ViewerWindowProc(window, WM_QUERYNEWPALETTE, 0, 0), 1);
  EXPECT_EQ(viewerState.idleHandler, &IdleRender);
}

// A probe window beside the viewer's: once its timer has fired after `frames` frames, it posts
// itself a message noting the frames drawn, and on that message notes them again and ends the run.
HWND viewerWindow = nullptr;
int swapsWhenPosted = -1, swapsWhenHandled = -1, framesToWaitFor = 0;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int swaps = LayerCallCount("SwapBuffers");
  if (message == WM_TIMER && swaps >= framesToWaitFor) {
    KillTimer(window, 1);
    PostMessageA(window, WM_USER, static_cast<WPARAM>(swaps), 0);
  } else if (message == WM_USER) {
    swapsWhenPosted = static_cast<int>(wParam);
    swapsWhenHandled = swaps;
    DestroyWindow(viewerWindow);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void StartProbe(UINT period, int frames) {
  framesToWaitFor = frames;
  WNDCLASSA probeClass = {};
  probeClass.lpfnWndProc = ProbeProc;
  probeClass.lpszClassName = "Probe";
  RegisterClassA(&probeClass);
  SetTimer(CreateWindowExA(0, "Probe", "", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr), 1,
           period, nullptr);
}

// Many requests, one frame; and while spinning, a message that waits is handled before the next
// frame.
TEST_F(ViewerTest, LoopDrawsOneFrameForManyRequestsAndHandlesWaitingMessagesFirst) {
  viewerWindow = Open();
  viewerState.keepSpinning = 0;
  for (WPARAM key : {'f', 'p', 'j'}) {
    PostMessageA(viewerWindow, WM_CHAR, key, 0);
  }
  StartProbe(20, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(swapsWhenHandled, 1);
  LayerReset();
  viewerWindow = Open();
  viewerState.keepSpinning = 1;
  RequestRedraw();
  StartProbe(5, 3);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_EQ(swapsWhenHandled, swapsWhenPosted);
}

}  // namespace
