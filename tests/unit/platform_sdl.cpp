// The SDL2 layer over SDL's offscreen driver: events pushed into SDL come out as window
// messages, pixel formats and WGL on a real context, palettes, test hooks, and no display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sdl/layer.h"

namespace {

std::vector<MSG> received;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
  return DefWindowProcA(window, message, wParam, lParam);
}

PIXELFORMATDESCRIPTOR Request(DWORD flags, BYTE depthBits) {
  PIXELFORMATDESCRIPTOR request = {};
  request.nSize = sizeof(request);
  request.nVersion = 1;
  request.dwFlags = flags;
  request.cColorBits = 8;
  request.cDepthBits = depthBits;
  return request;
}

constexpr DWORD kWindowed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

class SdlLayer : public testing::Test {
 protected:
  void SetUp() override {
    LayerReset();
    received.clear();
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
    windowClass.lpszClassName = "SdlTest";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
  }
  void TearDown() override { LayerReset(); }

  HWND MakeWindow() {
    return CreateWindowExA(0, "SdlTest", "sdl", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100, nullptr,
                           nullptr, nullptr, nullptr);
  }
  // A shown window with a GL format whose start-up messages are all handled.
  HWND MakeShownWindow() {
    HWND window = MakeWindow();
    PIXELFORMATDESCRIPTOR request = Request(kWindowed | PFD_DOUBLEBUFFER, 16);
    EXPECT_TRUE(SetPixelFormat(GetDC(window), 1, &request));
    ShowWindow(window, SW_SHOW);
    Drain();
    received.clear();
    return window;
  }
  static void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  static Uint32 SdlId(HWND window) { return SDL_GetWindowID(LookUpWindow(window)->sdl); }
  static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }
  static void PushWindowEvent(HWND window, Uint8 kind, int data1 = 0, int data2 = 0) {
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SdlId(window);
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    Push(event);
  }
  static int Count(UINT message) {
    int count = 0;
    for (const MSG& msg : received) {
      count += msg.message == message ? 1 : 0;
    }
    return count;
  }
};

TEST_F(SdlLayer, PointerEventsBecomeButtonMessagesWithClientPositions) {
  HWND window = MakeShownWindow();
  SDL_Event event = {};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button = {
      SDL_MOUSEBUTTONDOWN, 0, SdlId(window), 0, SDL_BUTTON_LEFT, SDL_PRESSED, 1, 0, 30, 40};
  Push(event);
  Drain();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(received[0].wParam, MK_LBUTTON);
  EXPECT_EQ(GET_X_LPARAM(received[0].lParam), 30);
  EXPECT_EQ(GET_Y_LPARAM(received[0].lParam), 40);

  // While captured, a release reported for no window still reaches the captor, left of it.
  SetCapture(window);
  event.button = {SDL_MOUSEBUTTONUP, 0, 0, 0, SDL_BUTTON_LEFT, SDL_RELEASED, 1, 0, -5, 12};
  Push(event);
  Drain();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].message, WM_LBUTTONUP);
  EXPECT_EQ(received[1].hwnd, window);
  EXPECT_EQ(received[1].wParam, 0u);
  EXPECT_EQ(LOWORD(received[1].lParam), 0xFFFB);
  EXPECT_EQ(GET_X_LPARAM(received[1].lParam), -5);
  ReleaseCapture();
}

TEST_F(SdlLayer, KeysAndTextBecomeKeyAndCharacterMessages) {
  HWND window = MakeShownWindow();
  SDL_Event event = {};
  event.key = {SDL_KEYDOWN,
               0,
               SdlId(window),
               SDL_PRESSED,
               0,
               0,
               0,
               {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, 0}};
  Push(event);
  event.text.type = SDL_TEXTINPUT;
  event.text.windowID = SdlId(window);
  std::strcpy(event.text.text, "F");
  Push(event);
  Drain();
  std::vector<UINT> messages;
  for (const MSG& msg : received) {
    messages.push_back(msg.message);
  }
  ASSERT_EQ(messages, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_CHAR}));
  EXPECT_EQ(received[0].wParam, VK_ESCAPE);
  EXPECT_EQ(received[1].wParam, 27u);
  EXPECT_EQ(received[2].wParam, WPARAM{'F'});
}

TEST_F(SdlLayer, CloseRequestsBecomeOneCloseEach) {
  HWND window = MakeShownWindow();
  PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
  Drain();
  EXPECT_EQ(Count(WM_CLOSE), 1);
  EXPECT_EQ(Count(WM_DESTROY), 1);  // default processing destroyed it
  EXPECT_EQ(LookUpWindow(window), nullptr);

  received.clear();
  MakeShownWindow();
  SDL_Event quit = {};
  quit.type = SDL_QUIT;
  Push(quit);
  Drain();
  EXPECT_EQ(Count(WM_CLOSE), 1);
}

TEST_F(SdlLayer, OutsideResizeDeliversSizeAndExposureInvalidates) {
  HWND window = MakeShownWindow();
  PushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, 200, 100);
  Drain();
  EXPECT_EQ(Count(WM_SIZE), 0);
  PushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, 321, 123);
  Drain();
  ASSERT_EQ(Count(WM_SIZE), 1);
  EXPECT_EQ(received[0].lParam, MAKELPARAM(321, 123));
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 321);
  EXPECT_EQ(Count(WM_PAINT), 1);
  PushWindowEvent(window, SDL_WINDOWEVENT_EXPOSED);
  Drain();
  EXPECT_EQ(Count(WM_PAINT), 2);
}

// The viewer's order: format, context and GL calls all inside WM_CREATE.
LRESULT CALLBACK GlOnCreateProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    HDC dc = GetDC(window);
    EXPECT_EQ(WindowFromDC(dc), window);
    PIXELFORMATDESCRIPTOR request = Request(kWindowed | PFD_DOUBLEBUFFER, 16);
    int format = ChoosePixelFormat(dc, &request);
    EXPECT_EQ(format, 1);
    EXPECT_TRUE(SetPixelFormat(dc, format, &request));
    HGLRC context = wglCreateContext(dc);
    EXPECT_NE(context, nullptr);
    EXPECT_TRUE(wglMakeCurrent(dc, context));
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLubyte pixel[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_TRUE(SwapBuffers(dc));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(context));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(SdlLayer, ProcedureCanSetUpGlInsideCreation) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = GlOnCreateProcedure;
  windowClass.lpszClassName = "GlOnCreate";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "GlOnCreate", "gl", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(LayerSwapCount(), 1);
  EXPECT_EQ(GetPixelFormat(GetDC(window)), 1);
}

TEST_F(SdlLayer, PixelFormatsFollowWindowsRules) {
  HDC dc = GetDC(MakeWindow());
  PIXELFORMATDESCRIPTOR request = Request(kWindowed | PFD_DOUBLEBUFFER, 16);
  PIXELFORMATDESCRIPTOR noOpenGl = Request(PFD_DRAW_TO_WINDOW, 16);
  PIXELFORMATDESCRIPTOR noWindow = Request(PFD_SUPPORT_OPENGL, 16);
  EXPECT_EQ(ChoosePixelFormat(nullptr, &request), 0);
  EXPECT_EQ(ChoosePixelFormat(dc, &noOpenGl), 0);
  EXPECT_EQ(ChoosePixelFormat(dc, &noWindow), 0);
  EXPECT_EQ(GetPixelFormat(dc), 0);
  EXPECT_EQ(DescribePixelFormat(dc, 1, sizeof(request), &request), 0);
  ASSERT_TRUE(SetPixelFormat(dc, 1, &request));
  EXPECT_TRUE(SetPixelFormat(dc, 1, &request));
  EXPECT_FALSE(SetPixelFormat(dc, 2, &request));
  EXPECT_EQ(GetPixelFormat(dc), 1);

  PIXELFORMATDESCRIPTOR described = {};
  ASSERT_EQ(DescribePixelFormat(dc, 1, sizeof(described), &described), 1);
  EXPECT_EQ(described.dwFlags & kWindowed, kWindowed);
  EXPECT_EQ(described.dwFlags & PFD_NEED_PALETTE, 0u);
  EXPECT_EQ(described.iPixelType, PFD_TYPE_RGBA);
  EXPECT_GE(described.cRedBits, 8);
  EXPECT_GE(described.cGreenBits, 8);
  EXPECT_GE(described.cBlueBits, 8);
  EXPECT_GE(described.cDepthBits, 16);
  // Channel fields must not overlap.
  EXPECT_NE(described.cRedShift, described.cGreenShift);
  EXPECT_NE(described.cGreenShift, described.cBlueShift);
  EXPECT_EQ(described.cColorBits, described.cRedBits + described.cGreenBits + described.cBlueBits);
}

TEST_F(SdlLayer, AnImpossibleFormatFailsToSet) {
  HDC dc = GetDC(MakeWindow());
  PIXELFORMATDESCRIPTOR request = Request(kWindowed, 255);
  EXPECT_FALSE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
  EXPECT_EQ(GetPixelFormat(dc), 0);
}

TEST_F(SdlLayer, InjectedFaultsFailTheNextMatchingCallOnly) {
  HWND window = MakeWindow();
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = Request(kWindowed, 16);
  LayerInjectFault(LayerFault::kChoosePixelFormat);
  EXPECT_EQ(ChoosePixelFormat(dc, &request), 0);
  EXPECT_EQ(ChoosePixelFormat(dc, &request), 1);
  LayerInjectFault(LayerFault::kSetPixelFormat);
  EXPECT_FALSE(SetPixelFormat(dc, 1, &request));
  EXPECT_TRUE(SetPixelFormat(dc, 1, &request));
  LayerInjectFault(LayerFault::kCreateContext);
  EXPECT_EQ(wglCreateContext(dc), nullptr);
  HGLRC context = wglCreateContext(dc);
  EXPECT_NE(context, nullptr);
  wglDeleteContext(context);
  received.clear();
  LayerInjectFault(LayerFault::kCreateWindow);
  EXPECT_EQ(MakeWindow(), nullptr);
  EXPECT_EQ(Count(WM_CREATE), 0);
  EXPECT_NE(MakeWindow(), nullptr);
  LayerInjectFault(LayerFault::kRegisterClass);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingProcedure;
  windowClass.lpszClassName = "Another";
  EXPECT_EQ(RegisterClassA(&windowClass), 0);
  EXPECT_NE(RegisterClassA(&windowClass), 0);
}

TEST_F(SdlLayer, ResetLeavesNoSdlWindowAndDescribedFormatCanBeReplaced) {
  HWND window = MakeShownWindow();
  PIXELFORMATDESCRIPTOR palettized = {};
  palettized.dwFlags = kWindowed | PFD_NEED_PALETTE;
  palettized.cColorBits = 8;
  LayerSetDescribedFormat(&palettized);
  PIXELFORMATDESCRIPTOR described = {};
  EXPECT_EQ(DescribePixelFormat(GetDC(window), 1, sizeof(described), &described), 1);
  EXPECT_EQ(described.dwFlags, palettized.dwFlags);
  Uint32 id = SdlId(window);
  LayerReset();
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
  EXPECT_EQ(LookUpWindow(window), nullptr);
  EXPECT_EQ(LayerSwapCount(), 0);
}

TEST_F(SdlLayer, MessageBoxesAreRecordedWithoutAWindow) {
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK | MB_ICONERROR), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "second", "Error", MB_OK), IDOK);
  const LayerMessageBox& box = LayerLastMessageBox();
  EXPECT_EQ(box.count, 2);
  EXPECT_EQ(box.text, "second");
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.type, MB_OK);
  EXPECT_EQ(box.owner, nullptr);
}

TEST_F(SdlLayer, PalettesAreCopiedSelectedAndFreed) {
  HDC dc = GetDC(MakeWindow());
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[2];
  } description = {{0x300, 3, {{1, 2, 3, 0}}}, {{4, 5, 6, 0}, {7, 8, 9, 0}}};
  HPALETTE palette = CreatePalette(&description.header);
  ASSERT_NE(palette, nullptr);
  description.header.palNumEntries = 1;  // the palette keeps its own copy
  HPALETTE stock = SelectPalette(dc, palette, FALSE);
  EXPECT_NE(stock, nullptr);
  EXPECT_EQ(RealizePalette(dc), 3u);
  EXPECT_EQ(SelectPalette(dc, stock, FALSE), palette);
  EXPECT_TRUE(UnrealizeObject(palette));
  EXPECT_TRUE(DeleteObject(palette));
  EXPECT_FALSE(DeleteObject(palette));
  LayerInjectFault(LayerFault::kCreatePalette);
  EXPECT_EQ(CreatePalette(&description.header), nullptr);
}

// Run in a child process: SDL must not have been started there yet.
TEST(SdlLayerNoDisplay, SaysSoAndExitsWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        unsetenv("DISPLAY");
        MessageBoxA(nullptr, "unseen", "unseen", MB_OK);
      },
      testing::ExitedWithCode(1), "^ribbon: cannot open a display: .+\n$");
  // With no driver named, SDL would settle on one that shows nothing: that is no display either.
  EXPECT_EXIT(
      {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        MessageBoxA(nullptr, "unseen", "unseen", MB_OK);
      },
      testing::ExitedWithCode(1), "ribbon: cannot open a display: .+\n$");
}

}  // namespace
