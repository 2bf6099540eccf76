#pragma once
// The window system's key codes mapped onto the virtual-key codes the score view's key
// handling reads (view/entry/KeyInput.h).

namespace vornel::view {

// The virtual-key code of a wx key code; 0 for a key the view has no code for.
int VirtualKeyOf(int wxKeyCode);

}  // namespace vornel::view
