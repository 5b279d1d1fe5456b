// Pure translations from SDL's input terms to Win32's: each event's numbers go through these.
#pragma once

#include <SDL.h>

#include <cstddef>

#include "platform/win32.h"

// The virtual-key code of an SDL key, or 0 for keys the layer does not report.
WPARAM VirtualKeyFromSdl(SDL_Keycode key);
// WM_[LMR]BUTTONDOWN/UP for an SDL button, or 0 for buttons without a message.
UINT ButtonMessage(Uint8 button, bool down);
// A client position as a pointer message's lParam: x in the low word, y in the high word.
LPARAM PositionLParam(int x, int y);
// MK_* flags for the buttons held (an SDL button mask) and the modifier keys down.
WPARAM MouseKeyFlags(Uint32 buttonMask, Uint16 modifiers);
// WM_KEYDOWN/UP, or WM_SYSKEYDOWN/UP while Alt (without Ctrl) is held.
UINT KeyMessage(bool down, Uint16 modifiers);
// lParam of key and character messages: repeat count 1, the context bit while Alt is held,
// previous-state and transition bits.
LPARAM KeyLParam(bool down, bool repeat, Uint16 modifiers);
// The control character (1 to 26) that Ctrl+letter types, or 0.
WPARAM ControlCharacter(SDL_Keycode key, Uint16 modifiers);
// The message typed text becomes: WM_CHAR, WM_SYSCHAR while Alt (without Ctrl) is held, or 0
// while Ctrl alone is held, whose characters come from the keys instead.
UINT CharacterMessage(Uint16 modifiers);
// Decodes UTF-8 text into the characters WM_CHAR carries (Latin-1; '?' beyond it); returns the
// count written, at most capacity.
std::size_t CharactersOfText(const char* text, WPARAM* characters, std::size_t capacity);
