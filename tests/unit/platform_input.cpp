// The SDL2 layer's pure input translations where their arithmetic can go wrong.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/input.h"

namespace {

TEST(PlatformInput, FlagsAndTextAndKeyLParam) {
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_RMASK | SDL_BUTTON_MMASK, KMOD_RSHIFT),
            MK_RBUTTON | MK_MBUTTON | MK_SHIFT);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_LMASK, KMOD_LCTRL | KMOD_CAPS), MK_LBUTTON | MK_CONTROL);
  WPARAM characters[3] = {};
  ASSERT_EQ(CharactersOfText("P\xC3\x89\xE2\x82\xAC", characters, 3), 3u);  // P, É, euro sign
  EXPECT_EQ(std::vector<WPARAM>(characters, characters + 3), (std::vector<WPARAM>{'P', 0xC9, '?'}));
  EXPECT_EQ(CharactersOfText("abcd", characters, 2), 2u);
  EXPECT_EQ(std::vector<LPARAM>({KeyLParam(true, false, 0), KeyLParam(true, true, 0),
                                 KeyLParam(false, false, 0), KeyLParam(true, false, KMOD_LALT)}),
            std::vector<LPARAM>({1, 0x40000001, static_cast<LPARAM>(0xC0000001u), 0x20000001}));
}

}  // namespace
