#pragma once

#include <cstdint>

namespace lists {

// The key code a key event of the toolkit stands for, numbered as the platform's virtual keys
// that hosts compare key codes with (13 Enter, 27 Escape, 37 .. 40 the arrows, 46 Delete,
// 48 .. 57 the digits, 65 .. 90 the letters, 112 .. 123 F1 .. F12 ...); 0 for a key that has
// no such code.
int16_t VirtualKeyCode(int qtKey);

}  // namespace lists
