// Pure input translations; tested table by table.
#include "platform/sdl/input.h"

WPARAM VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) {
    return static_cast<WPARAM>('A' + (key - SDLK_a));
  }
  if (key >= SDLK_0 && key <= SDLK_9) {
    return static_cast<WPARAM>(key);
  }
  switch (key) {
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_DOWN:
      return VK_DOWN;
    default:
      return 0;
  }
}

UINT ButtonMessage(Uint8 button, bool down) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_MIDDLE:
      return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case SDL_BUTTON_RIGHT:
      return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default:
      return 0;
  }
}

LPARAM PositionLParam(int x, int y) {
  return MAKELPARAM(x, y);
}

WPARAM MouseKeyFlags(Uint32 buttonMask, Uint16 modifiers) {
  WPARAM flags = 0;
  if ((buttonMask & SDL_BUTTON_LMASK) != 0) {
    flags |= MK_LBUTTON;
  }
  if ((buttonMask & SDL_BUTTON_RMASK) != 0) {
    flags |= MK_RBUTTON;
  }
  if ((buttonMask & SDL_BUTTON_MMASK) != 0) {
    flags |= MK_MBUTTON;
  }
  if ((modifiers & KMOD_SHIFT) != 0) {
    flags |= MK_SHIFT;
  }
  if ((modifiers & KMOD_CTRL) != 0) {
    flags |= MK_CONTROL;
  }
  return flags;
}

// Alt with Ctrl is AltGr, which types ordinary characters.
static bool AltAlone(Uint16 modifiers) {
  return (modifiers & KMOD_ALT) != 0 && (modifiers & KMOD_CTRL) == 0;
}

static bool CtrlAlone(Uint16 modifiers) {
  return (modifiers & KMOD_CTRL) != 0 && (modifiers & KMOD_ALT) == 0;
}

UINT KeyMessage(bool down, Uint16 modifiers) {
  if (AltAlone(modifiers)) {
    return down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
  }
  return down ? WM_KEYDOWN : WM_KEYUP;
}

WPARAM ControlCharacter(SDL_Keycode key, Uint16 modifiers) {
  return CtrlAlone(modifiers) && key >= SDLK_a && key <= SDLK_z ? key - SDLK_a + 1 : 0;
}

UINT CharacterMessage(Uint16 modifiers) {
  return AltAlone(modifiers) ? WM_SYSCHAR : CtrlAlone(modifiers) ? 0 : WM_CHAR;
}

LPARAM KeyLParam(bool down, bool repeat, Uint16 modifiers) {
  DWORD bits = 1;
  if (AltAlone(modifiers)) {
    bits |= 1u << 29;
  }
  if (repeat || !down) {
    bits |= 1u << 30;
  }
  if (!down) {
    bits |= 1u << 31;
  }
  return static_cast<LPARAM>(bits);
}

// Length of the UTF-8 sequence that starts with lead, and the payload bits of lead.
static int SequenceLength(unsigned char lead, unsigned* payload) {
  if (lead < 0x80) {
    *payload = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    *payload = lead & 0x1Fu;
    return 2;
  }
  if ((lead & 0xF0) == 0xE0) {
    *payload = lead & 0x0Fu;
    return 3;
  }
  *payload = lead & 0x07u;
  return 4;
}

std::size_t CharactersOfText(const char* text, WPARAM* characters, std::size_t capacity) {
  std::size_t count = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  while (*bytes != 0 && count < capacity) {
    unsigned codePoint = 0;
    int length = SequenceLength(*bytes++, &codePoint);
    for (int i = 1; i < length && (*bytes & 0xC0) == 0x80; ++i) {
      codePoint = (codePoint << 6) | (*bytes++ & 0x3Fu);
    }
    characters[count++] = codePoint < 0x100 ? codePoint : '?';
  }
  return count;
}
