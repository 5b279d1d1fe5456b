// The SDL2 layer over SDL's offscreen driver: SDL events become window messages; pixel formats,
// WGL and the exit without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/sdl/layer.h"
#include "platform/win32_core/core.h"
#include "platform/win32_core/testing.h"
#include "resources/resource.h"

namespace {

using Seen = std::tuple<UINT, WPARAM, LPARAM>;
std::vector<Seen> received;

PIXELFORMATDESCRIPTOR Request(DWORD flags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL) {
  PIXELFORMATDESCRIPTOR request = {};
  request.dwFlags = flags;
  request.cDepthBits = 16;
  return request;
}

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received.emplace_back(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingProcedure;
  windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(IDI_RIBBON));
  windowClass.lpszClassName = "SdlTest";
  RegisterClassA(&windowClass);  // fails harmlessly once registered
  return CreateWindowExA(0, "SdlTest", "sdl", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100, nullptr,
                         nullptr, nullptr, nullptr);
}

// Pushes the events into SDL and returns the messages they become once dispatched.
std::vector<Seen> Deliver(std::vector<SDL_Event> events) {
  received.clear();
  for (SDL_Event& event : events) {
    EXPECT_EQ(SDL_PushEvent(&event), 1);
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return received;
}

SDL_Event WindowEvent(Uint32 id, Uint8 kind, int data1 = 0, int data2 = 0) {
  SDL_Event event = {};
  event.window = {SDL_WINDOWEVENT, 0, id, kind, 0, 0, 0, data1, data2};
  return event;
}

class SdlLayer : public testing::Test {
 protected:
  void SetUp() override { LayerReset(); }
  void TearDown() override { LayerReset(); }
};

TEST_F(SdlLayer, SdlEventsBecomeMessages) {
  HWND window = MakeWindow();
  ShowWindow(window, SW_SHOW);
  Uint32 id = SDL_GetWindowID(sdl::SdlWindow(core::LookUp(window)));
  SetCapture(window);
  std::vector<SDL_Event> events(3);
  events[0].motion = {SDL_MOUSEMOTION, 0, id, 0, 0, 30, 40, 0, 0};
  events[1].button = {SDL_MOUSEBUTTONDOWN, 0, id, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 1, 0, 30, 40};
  // Captured: a release reported for no window, left of it, still reaches the captor.
  events[2].button = {SDL_MOUSEBUTTONUP, 0, 0, 0, SDL_BUTTON_LEFT, SDL_RELEASED, 1, 0, -5, 12};
  events.push_back(WindowEvent(id, SDL_WINDOWEVENT_SIZE_CHANGED, 200, 100));  // the size it has
  events.push_back(WindowEvent(id, SDL_WINDOWEVENT_SIZE_CHANGED, 321, 123));
  EXPECT_EQ(Deliver(events), (std::vector<Seen>{{WM_SIZE, 0, MAKELPARAM(321, 123)},
                                                {WM_MOUSEMOVE, 0, MAKELPARAM(30, 40)},
                                                {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40)},
                                                {WM_LBUTTONUP, 0, 0x000CFFFB},
                                                {WM_PAINT, 0, 0}}));
  EXPECT_EQ(Deliver({WindowEvent(id, SDL_WINDOWEVENT_EXPOSED)}),
            (std::vector<Seen>{{WM_PAINT, 0, 0}}));
  EXPECT_EQ(
      Deliver({WindowEvent(id, SDL_WINDOWEVENT_CLOSE)}),
      (std::vector<Seen>{
          {WM_CLOSE, 0, 0}, {WM_CAPTURECHANGED, 0, 0}, {WM_DESTROY, 0, 0}, {WM_NCDESTROY, 0, 0}}));
}

// The viewer sets its format, context and scene up inside WM_CREATE (tested with the viewer).
TEST_F(SdlLayer, PixelFormatsFollowWindowsRules) {
  HWND window = MakeWindow();
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = Request();
  EXPECT_EQ(ChoosePixelFormat(nullptr, &request), 0);
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
  for (DWORD flags : {PFD_DRAW_TO_WINDOW, PFD_SUPPORT_OPENGL}) {
    PIXELFORMATDESCRIPTOR partial = Request(flags);
    EXPECT_EQ(ChoosePixelFormat(dc, &partial), 0) << flags;
  }
  Uint32 id = SDL_GetWindowID(sdl::SdlWindow(core::LookUp(window)));
  EXPECT_TRUE(SetPixelFormat(dc, 1, &request));  // set again: the same window is kept
  EXPECT_EQ(SDL_GetWindowID(sdl::SdlWindow(core::LookUp(window))), id);
  EXPECT_FALSE(SetPixelFormat(dc, 2, &request));
  PIXELFORMATDESCRIPTOR got = {};
  ASSERT_EQ(DescribePixelFormat(dc, 1, sizeof(got), &got), 1);
  EXPECT_EQ(got.dwFlags & (request.dwFlags | PFD_NEED_PALETTE), request.dwFlags);
  EXPECT_GE(std::min({got.cRedBits, got.cGreenBits, got.cBlueBits}), 8);
  EXPECT_GE(got.cDepthBits, 16);
}

// What the entry does without a display, then a box: the failure is said once, the box's text
// still reaches the user, and no Win32 call ends the process.
void StartWithoutDisplay(const char* driver) {
  driver != nullptr ? setenv("SDL_VIDEODRIVER", driver, 1) : unsetenv("SDL_VIDEODRIVER");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  bool opened = core::OpenDisplay();
  MessageBoxA(nullptr, "unseen", "caption", MB_OK);
  std::exit(opened ? 0 : 1);
}

// In a child process, before SDL starts. With no driver named, SDL would pick one showing nothing.
TEST(SdlLayerNoDisplay, SaysSoOnceAndTheEntryEndsWithStatusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const char* driver : {"x11", static_cast<const char*>(nullptr)}) {
    EXPECT_EXIT(StartWithoutDisplay(driver), testing::ExitedWithCode(1),
                "^ribbon: cannot open a display: [^\n]+\nribbon: caption: unseen\n$");
  }
}

}  // namespace
