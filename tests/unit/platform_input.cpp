// The SDL2 layer's pure input translations, case by case.
#include <gtest/gtest.h>

#include "platform/sdl/input.h"

namespace {

TEST(PlatformInput, PositionsPackAsSignedWords) {
  struct Case {
    int x, y;
    WORD low, high;
  } cases[] = {
      {0, 0, 0, 0}, {-1, 5, 0xFFFF, 5}, {700, -2, 700, 0xFFFE}, {-32768, 32767, 0x8000, 0x7FFF}};
  for (const Case& c : cases) {
    LPARAM lParam = PositionLParam(c.x, c.y);
    EXPECT_EQ(LOWORD(lParam), c.low) << c.x;
    EXPECT_EQ(HIWORD(lParam), c.high) << c.y;
    EXPECT_EQ(GET_X_LPARAM(lParam), c.x);
    EXPECT_EQ(GET_Y_LPARAM(lParam), c.y);
  }
}

TEST(PlatformInput, KeysBecomeVirtualKeys) {
  struct Case {
    SDL_Keycode key;
    WPARAM virtualKey;
  } cases[] = {{SDLK_a, 'A'},
               {SDLK_f, 'F'},
               {SDLK_z, 'Z'},
               {SDLK_0, '0'},
               {SDLK_9, '9'},
               {SDLK_ESCAPE, VK_ESCAPE},
               {SDLK_RETURN, VK_RETURN},
               {SDLK_KP_ENTER, VK_RETURN},
               {SDLK_BACKSPACE, VK_BACK},
               {SDLK_TAB, VK_TAB},
               {SDLK_SPACE, VK_SPACE},
               {SDLK_LEFT, VK_LEFT},
               {SDLK_UP, VK_UP},
               {SDLK_RIGHT, VK_RIGHT},
               {SDLK_DOWN, VK_DOWN},
               {SDLK_RSHIFT, VK_SHIFT},
               {SDLK_LCTRL, VK_CONTROL},
               {SDLK_F1, 0},
               {SDLK_CAPSLOCK, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFromSdl(c.key), c.virtualKey) << SDL_GetKeyName(c.key);
  }
}

TEST(PlatformInput, ButtonsBecomeButtonMessages) {
  struct Case {
    Uint8 button;
    bool down;
    UINT message;
  } cases[] = {{SDL_BUTTON_LEFT, true, WM_LBUTTONDOWN},
               {SDL_BUTTON_LEFT, false, WM_LBUTTONUP},
               {SDL_BUTTON_RIGHT, true, WM_RBUTTONDOWN},
               {SDL_BUTTON_RIGHT, false, WM_RBUTTONUP},
               {SDL_BUTTON_MIDDLE, true, WM_MBUTTONDOWN},
               {SDL_BUTTON_MIDDLE, false, WM_MBUTTONUP},
               {SDL_BUTTON_X1, true, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(ButtonMessage(c.button, c.down), c.message) << int{c.button} << c.down;
  }
}

TEST(PlatformInput, HeldButtonsAndModifiersBecomeMouseKeyFlags) {
  EXPECT_EQ(MouseKeyFlags(0, KMOD_NONE), 0u);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_LMASK, KMOD_NONE), MK_LBUTTON);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_RMASK | SDL_BUTTON_MMASK, KMOD_RSHIFT),
            MK_RBUTTON | MK_MBUTTON | MK_SHIFT);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_LMASK, KMOD_LCTRL | KMOD_CAPS), MK_LBUTTON | MK_CONTROL);
}

TEST(PlatformInput, OnlyControlKeysTranslateToCharacters) {
  EXPECT_EQ(CharacterOfVirtualKey(VK_ESCAPE), 27u);
  EXPECT_EQ(CharacterOfVirtualKey(VK_RETURN), 13u);
  EXPECT_EQ(CharacterOfVirtualKey(VK_BACK), 8u);
  EXPECT_EQ(CharacterOfVirtualKey(VK_TAB), 9u);
  EXPECT_EQ(CharacterOfVirtualKey('F'), 0u);  // letters arrive as typed text
  EXPECT_EQ(CharacterOfVirtualKey(VK_SPACE), 0u);
}

TEST(PlatformInput, TypedTextBecomesOneCharacterEach) {
  WPARAM characters[8] = {};
  ASSERT_EQ(CharactersOfText("fP", characters, 8), 2u);
  EXPECT_EQ(characters[0], WPARAM{'f'});
  EXPECT_EQ(characters[1], WPARAM{'P'});
  // U+00C9 stays itself in Latin-1; the euro sign has no place there.
  ASSERT_EQ(CharactersOfText("\xC3\x89\xE2\x82\xAC", characters, 8), 2u);
  EXPECT_EQ(characters[0], 0xC9u);
  EXPECT_EQ(characters[1], WPARAM{'?'});
  EXPECT_EQ(CharactersOfText("abc", characters, 2), 2u);
}

}  // namespace
