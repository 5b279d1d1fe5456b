// The SDL2 layer over SDL's offscreen driver: SDL events become window messages; the exit without
// a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/sdl/layer.h"
#include "platform/win32_core/core.h"
#include "platform/win32_core/testing.h"

namespace {

using Seen = std::tuple<UINT, WPARAM, LPARAM>;
std::vector<Seen> received;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received.emplace_back(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

// At unequal offsets, so that a client position worked out from the wrong one shows.
HWND MakeWindow(int x = 50, int y = 70) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingProcedure;
  windowClass.lpszClassName = "SdlTest";
  RegisterClassA(&windowClass);  // fails harmlessly once registered
  return CreateWindowExA(0, "SdlTest", "sdl", WS_OVERLAPPEDWINDOW, x, y, 200, 100, nullptr, nullptr,
                         nullptr, nullptr);
}

Uint32 SdlId(HWND window) {
  return SDL_GetWindowID(sdl::SdlWindow(core::LookUp(window)));
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

SDL_Event Motion(Uint32 id, int x, int y) {
  SDL_Event event = {};
  event.motion = {SDL_MOUSEMOTION, 0, id, 0, 0, x, y, 0, 0};
  return event;
}

SDL_Event Button(Uint32 id, Uint8 button, bool down, int x, int y) {
  SDL_Event event = {};
  const Uint32 type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button = {type, 0, id, 0, button, Uint8{down}, 1, 0, x, y};
  return event;
}

SDL_Event Key(SDL_Keycode key, Uint16 mod) {
  SDL_Event event = {};
  event.key = {SDL_KEYDOWN, 0, 0, SDL_PRESSED, 0, 0, 0, {SDL_SCANCODE_UNKNOWN, key, mod, 0}};
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
  Uint32 id = SdlId(window);
  SetCapture(window);
  // Captured: a release reported for no window, left of it, still reaches the captor.
  EXPECT_EQ(Deliver({Motion(id, 30, 40), Button(id, SDL_BUTTON_LEFT, true, 30, 40),
                     Button(0, SDL_BUTTON_LEFT, false, -5, 12)}),
            (std::vector<Seen>{{WM_MOUSEMOVE, 0, MAKELPARAM(30, 40)},
                               {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40)},
                               {WM_LBUTTONUP, 0, 0x000CFFFB},
                               {WM_PAINT, 0, 0}}));
  EXPECT_EQ(Deliver({WindowEvent(id, SDL_WINDOWEVENT_EXPOSED)}),
            (std::vector<Seen>{{WM_PAINT, 0, 0}}));
}

// Buttons chord, and wParam carries Shift and Ctrl as SDL holds them; a move along one axis is a
// move, a report of the same point is none. Captured, a position over another window arrives in the
// captor's client pixels, and the captor alone loses the capture with the focus. Moved, minimised
// and restored (painted again).
TEST_F(SdlLayer, ButtonsAndWindowEvents) {
  HWND window = MakeWindow(), other = MakeWindow(300, 20);
  ShowWindow(window, SW_SHOW);
  ShowWindow(other, SW_SHOW);
  Uint32 id = SdlId(window);
  Deliver({});  // the first paints
  SDL_SetModState(KMOD_LSHIFT);
  EXPECT_EQ(Deliver({Button(id, SDL_BUTTON_MIDDLE, true, 10, 20),
                     Button(id, SDL_BUTTON_RIGHT, true, 10, 20),
                     Button(id, SDL_BUTTON_X1, true, 10, 20), Motion(id, 10, 20)}),
            (std::vector<Seen>{
                {WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(10, 20)},
                {WM_RBUTTONDOWN, MK_MBUTTON | MK_RBUTTON | MK_SHIFT, MAKELPARAM(10, 20)}}));
  SDL_SetModState(KMOD_RCTRL);
  const WPARAM held = MK_MBUTTON | MK_RBUTTON | MK_CONTROL;
  EXPECT_EQ(Deliver({Motion(id, 90, 20)}),
            (std::vector<Seen>{{WM_MOUSEMOVE, held, MAKELPARAM(90, 20)}}));
  EXPECT_EQ(Deliver({Motion(id, 90, 5)}),
            (std::vector<Seen>{{WM_MOUSEMOVE, held, MAKELPARAM(90, 5)}}));
  SDL_SetModState(KMOD_NONE);
  SetCapture(window);
  EXPECT_EQ(Deliver({Motion(SdlId(other), 10, 5), Button(id, SDL_BUTTON_MIDDLE, false, 90, 5)}),
            (std::vector<Seen>{{WM_MOUSEMOVE, MK_MBUTTON | MK_RBUTTON, MAKELPARAM(260, -45)},
                               {WM_MBUTTONUP, MK_RBUTTON, MAKELPARAM(90, 5)}}));
  EXPECT_EQ(Deliver({WindowEvent(SdlId(other), SDL_WINDOWEVENT_FOCUS_LOST)}), std::vector<Seen>{});
  EXPECT_EQ(Deliver({WindowEvent(id, SDL_WINDOWEVENT_FOCUS_LOST)}),
            (std::vector<Seen>{{WM_CAPTURECHANGED, 0, 0}}));
  Deliver({WindowEvent(id, SDL_WINDOWEVENT_MOVED, 120, 80),
           WindowEvent(id, SDL_WINDOWEVENT_MINIMIZED)});
  EXPECT_EQ(std::make_pair(core::LookUp(window)->x, core::LookUp(window)->y),
            std::make_pair(120, 80));
  EXPECT_TRUE(IsIconic(window));
  EXPECT_EQ(Deliver({WindowEvent(id, SDL_WINDOWEVENT_RESTORED)}),
            (std::vector<Seen>{{WM_PAINT, 0, 0}}));
  EXPECT_FALSE(IsIconic(window));
}

// Keys as Windows reports them on a US keyboard: the virtual key and the scan code, extended for
// right Alt, keypad Enter and the arrows (not for right Shift); Alt makes system keys.
TEST_F(SdlLayer, KeysCarryScanCodes) {
  ShowWindow(MakeWindow(), SW_SHOW);
  Deliver({});
  const struct {
    SDL_Event event;
    std::vector<Seen> seen;
  } keys[] = {
      {Key(SDLK_RALT, KMOD_RALT), {{WM_SYSKEYDOWN, VK_MENU, 0x21380001}}},
      {Key(SDLK_RSHIFT, KMOD_RSHIFT), {{WM_KEYDOWN, VK_SHIFT, 0x00360001}}},
      {Key(SDLK_LEFT, 0), {{WM_KEYDOWN, VK_LEFT, 0x014B0001}}},
      {Key(SDLK_UP, 0), {{WM_KEYDOWN, VK_UP, 0x01480001}}},
      {Key(SDLK_RIGHT, 0), {{WM_KEYDOWN, VK_RIGHT, 0x014D0001}}},
      {Key(SDLK_DOWN, 0), {{WM_KEYDOWN, VK_DOWN, 0x01500001}}},
      {Key(SDLK_KP_ENTER, 0), {{WM_KEYDOWN, VK_RETURN, 0x011C0001}, {WM_CHAR, 13, 0x011C0001}}},
      {Key(SDLK_f, 0), {{WM_KEYDOWN, 'F', 0x00210001}}},
  };
  for (const auto& key : keys) {
    EXPECT_EQ(Deliver({key.event}), key.seen) << key.event.key.keysym.sym;
  }
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
