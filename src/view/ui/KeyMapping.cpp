#include "view/ui/KeyMapping.h"

#include <wx/defs.h>

#include "view/entry/KeyInput.h"

namespace vornel::view {

int VirtualKeyOf(int code) {
  // Letters arrive as capitals and digits as themselves, as virtual keys have them.
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return code;
  if (code >= 'a' && code <= 'z') return code - 'a' + 'A';
  if (code >= WXK_NUMPAD0 && code <= WXK_NUMPAD9) return keys::kNumpad0 + (code - WXK_NUMPAD0);
  if (code >= WXK_F1 && code <= WXK_F24) return 112 + (code - WXK_F1);
  switch (code) {
    case WXK_BACK: return keys::kBackspace;
    case WXK_TAB: case WXK_NUMPAD_TAB: return keys::kTab;
    case WXK_RETURN: case WXK_NUMPAD_ENTER: return keys::kEnter;
    case WXK_SHIFT: return keys::kShift;
    case WXK_CONTROL: return keys::kControl;
    case WXK_SPACE: case WXK_NUMPAD_SPACE: return keys::kSpace;
    case WXK_PAGEUP: case WXK_NUMPAD_PAGEUP: return keys::kPageUp;
    case WXK_PAGEDOWN: case WXK_NUMPAD_PAGEDOWN: return keys::kPageDown;
    case WXK_END: case WXK_NUMPAD_END: return keys::kEnd;
    case WXK_HOME: case WXK_NUMPAD_HOME: return keys::kHome;
    case WXK_LEFT: case WXK_NUMPAD_LEFT: return keys::kLeft;
    case WXK_UP: case WXK_NUMPAD_UP: return keys::kUp;
    case WXK_RIGHT: case WXK_NUMPAD_RIGHT: return keys::kRight;
    case WXK_DOWN: case WXK_NUMPAD_DOWN: return keys::kDown;
    case WXK_INSERT: case WXK_NUMPAD_INSERT: return keys::kInsert;
    case WXK_DELETE: case WXK_NUMPAD_DELETE: return keys::kDelete;
    case WXK_NUMPAD_ADD: case WXK_ADD: return keys::kAdd;
    case WXK_NUMPAD_SUBTRACT: case WXK_SUBTRACT: return keys::kSubtract;
    case WXK_NUMPAD_DECIMAL: case WXK_DECIMAL: return keys::kDecimal;
    case WXK_ESCAPE: return 27;
    // The punctuation keys of a US layout arrive as the characters they type without Shift.
    default: return code > 0 ? KeyOfPlainCharacter(static_cast<char32_t>(code)) : 0;
  }
}

char32_t CharacterOfKeysym(uint32_t keysym) {
  // Latin-1 keysyms are their characters; others carry theirs above 0x01000000.
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return keysym;
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return keysym - 0x01000000;
  // The keypad's digits and operators.
  if (keysym >= 0xFFB0 && keysym <= 0xFFB9) return U'0' + (keysym - 0xFFB0);
  switch (keysym) {
    case 0xFF80: return U' ';
    case 0xFFAA: return U'*';
    case 0xFFAB: return U'+';
    case 0xFFAC: return U',';
    case 0xFFAD: return U'-';
    case 0xFFAE: return U'.';
    case 0xFFAF: return U'/';
    case 0xFFBD: return U'=';
    default: return 0;
  }
}

}  // namespace vornel::view
