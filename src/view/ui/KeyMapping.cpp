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
    // The punctuation keys of a US layout.
    case ';': return 186;
    case '=': return 187;
    case ',': return 188;
    case '-': return 189;
    case '.': return 190;
    case '/': return 191;
    case '`': return 192;
    case '[': return 219;
    case '\\': return keys::kBackslash;
    case ']': return 221;
    case '\'': return 222;
    default: return 0;
  }
}

}  // namespace vornel::view
