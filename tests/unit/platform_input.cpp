// The core's Win32 input rules, fed as a backend feeds them: the same for the SDL2 and browser
// backends (built into both test programs). Real Windows is not asked: Wine does not merge the
// moves it is sent, and its scan codes are those of the X server's keyboard, not a set-1 table.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/win32_core/backend.h"

namespace {

using Seen = std::tuple<UINT, WPARAM, LPARAM>;

class CoreInput : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "CoreInput";
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    window = CreateWindowExA(0, "CoreInput", "", 0, 10, 30, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override { DestroyWindow(window); }
  // The messages waiting for the window, taken in order; translated when asked.
  std::vector<Seen> Take(bool translate) {
    std::vector<Seen> seen;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_KEYDOWN, WM_MBUTTONUP, PM_REMOVE)) {
      seen.emplace_back(msg.message, msg.wParam, msg.lParam);
      if (translate) {
        TranslateMessage(&msg);
      }
    }
    return seen;
  }
  HWND window = nullptr;
};

// Moves not yet taken merge into one at the latest point, but never across a button. (Chords,
// Shift and Ctrl, and captured moves over other windows are the SDL layer's tests.)
TEST_F(CoreInput, MovesMergeUntilTaken) {
  for (int x = 1; x <= 48; ++x) {
    core::PointerMoved(window, POINT{x, 2 * x}, {});
  }
  core::ButtonChanged(window, core::Button::kLeft, true, POINT{48, 96}, {});
  core::PointerMoved(window, POINT{50, 60}, {});
  core::PointerMoved(window, POINT{-3, 61}, {});
  EXPECT_EQ(Take(false), (std::vector<Seen>{{WM_MOUSEMOVE, 0, MAKELPARAM(48, 96)},
                                            {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 96)},
                                            {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-3, 61)}}));
  core::ButtonChanged(window, core::Button::kLeft, false, POINT{-3, 61}, {});
  Take(false);
}

// lParam: repeat count, scan code, extended, context, previous-state and transition bits.
// Characters come only from TranslateMessage; Alt makes system keys, Ctrl+letter its control
// character, AltGr ordinary text; text without a key comes as VK_PACKET.
TEST_F(CoreInput, KeysAndTheirCharacters) {
  core::Modifiers alt{false, false, true}, ctrl{false, true, false}, altGr{false, true, true};
  core::KeyChanged(window, VK_CONTROL, true, true, ctrl);
  core::KeyChanged(window, 'F', false, true, alt);
  core::TextTyped(window, "f");
  core::KeyChanged(window, 'F', false, true, ctrl);
  core::KeyChanged(window, 'Q', false, true, altGr);
  core::TextTyped(window, "@\xE2\x82\xAC");  // @, euro sign
  EXPECT_EQ(Take(true),
            (std::vector<Seen>{{WM_KEYDOWN, VK_CONTROL, 0x011D0001},
                               {WM_SYSKEYDOWN, 'F', 0x20210001},
                               {WM_SYSCHAR, 'f', 0x20210001},
                               {WM_KEYDOWN, 'F', 0x40210001},
                               {WM_CHAR, 6, 0x40210001},
                               {WM_KEYDOWN, 'Q', 0x00100001},
                               {WM_CHAR, '@', 0x00100001},
                               {WM_KEYDOWN, VK_PACKET, 1},
                               {WM_CHAR, '?', 1},
                               {WM_KEYUP, VK_PACKET, static_cast<LPARAM>(0xC0000001u)}}));
  core::KeyChanged(window, 'Q', false, false, {});  // no key left down for the tests after this
  Take(false);
}

}  // namespace
