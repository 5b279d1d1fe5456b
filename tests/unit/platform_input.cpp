// The SDL2 layer's pure input translations, table by table.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/input.h"

namespace {

TEST(PlatformInput, PositionsPackAsSignedWords) {
  struct Case {
    int x, y;
    WORD low, high;
  } cases[] = {{-1, 5, 0xFFFF, 5}, {700, -2, 700, 0xFFFE}, {-32768, 32767, 0x8000, 0x7FFF}};
  for (const Case& c : cases) {
    LPARAM lParam = PositionLParam(c.x, c.y);
    EXPECT_EQ(LOWORD(lParam), c.low) << c.x;
    EXPECT_EQ(HIWORD(lParam), c.high) << c.y;
    EXPECT_EQ(GET_X_LPARAM(lParam), c.x);
    EXPECT_EQ(GET_Y_LPARAM(lParam), c.y);
  }
}

// Each key's virtual key, and the character TranslateMessage makes of it (letters and the space
// bar arrive as typed text instead).
TEST(PlatformInput, KeysBecomeVirtualKeysAndControlKeysCharacters) {
  struct Case {
    SDL_Keycode key;
    WPARAM virtualKey, character;
  } cases[] = {{SDLK_a, 'A', 0},
               {SDLK_z, 'Z', 0},
               {SDLK_9, '9', 0},
               {SDLK_ESCAPE, VK_ESCAPE, 27},
               {SDLK_RETURN, VK_RETURN, 13},
               {SDLK_KP_ENTER, VK_RETURN, 13},
               {SDLK_BACKSPACE, VK_BACK, 8},
               {SDLK_TAB, VK_TAB, 9},
               {SDLK_SPACE, VK_SPACE, 0},
               {SDLK_LEFT, VK_LEFT, 0},
               {SDLK_RSHIFT, VK_SHIFT, 0},
               {SDLK_LCTRL, VK_CONTROL, 0},
               {SDLK_F1, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFromSdl(c.key), c.virtualKey) << SDL_GetKeyName(c.key);
    EXPECT_EQ(CharacterOfVirtualKey(c.virtualKey), c.character) << SDL_GetKeyName(c.key);
  }
}

TEST(PlatformInput, ButtonsBecomeButtonMessagesAndFlags) {
  struct Case {
    Uint8 button;
    UINT down, up;
  } cases[] = {{SDL_BUTTON_LEFT, WM_LBUTTONDOWN, WM_LBUTTONUP},
               {SDL_BUTTON_RIGHT, WM_RBUTTONDOWN, WM_RBUTTONUP},
               {SDL_BUTTON_MIDDLE, WM_MBUTTONDOWN, WM_MBUTTONUP},
               {SDL_BUTTON_X1, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(ButtonMessage(c.button, true), c.down) << int{c.button};
    EXPECT_EQ(ButtonMessage(c.button, false), c.up) << int{c.button};
  }
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_RMASK | SDL_BUTTON_MMASK, KMOD_RSHIFT),
            MK_RBUTTON | MK_MBUTTON | MK_SHIFT);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_LMASK, KMOD_LCTRL | KMOD_CAPS), MK_LBUTTON | MK_CONTROL);
}

TEST(PlatformInput, TypedTextBecomesOneLatin1CharacterEach) {
  WPARAM characters[3] = {};
  ASSERT_EQ(CharactersOfText("P\xC3\x89\xE2\x82\xAC", characters, 3), 3u);  // P, É, euro sign
  EXPECT_EQ(std::vector<WPARAM>(characters, characters + 3), (std::vector<WPARAM>{'P', 0xC9, '?'}));
  EXPECT_EQ(CharactersOfText("abcd", characters, 2), 2u);
}

}  // namespace
