// The key-hold counters: how many frames each key has been down.
#pragma once

// Counts each key that is down (non-zero byte of the 256-byte state) one
// frame further and sets each key that is up back to 0.
void UpdateKeyHold(const char* keyState);
// The key went down in this frame (its counter is exactly 1).
bool KeyPressed(int keyCode);
// The key is down (its counter is 1 or more).
bool KeyHeld(int keyCode);
