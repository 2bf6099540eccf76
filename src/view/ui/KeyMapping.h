#pragma once
// The window system's key codes mapped onto the virtual-key codes the score view's key
// handling reads (view/entry/KeyInput.h).

#include <cstdint>

namespace vornel::view {

// The virtual-key code of a wx key code; 0 for a key the view has no code for.
int VirtualKeyOf(int wxKeyCode);

// The character a key event types, from its raw key code: the window system's keysym, which
// already carries Shift, Caps Lock and the keyboard layout. 0 for a keysym that types none
// (cursor, function and modifier keys, dead keys).
char32_t CharacterOfKeysym(uint32_t keysym);

}  // namespace vornel::view
