// The keyboard keys the game reads, by DirectInput key code.
#pragma once

inline constexpr int KEY_UP = 0xC8;
inline constexpr int KEY_DOWN = 0xD0;
inline constexpr int KEY_LEFT = 0xCB;
inline constexpr int KEY_RIGHT = 0xCD;
inline constexpr int KEY_ENTER = 0x1C;
inline constexpr int KEY_SHOOT = 0x1E;  // A
inline constexpr int KEY_BOMB = 0x20;   // D
inline constexpr int KEY_SLOW = 0x11;   // W
