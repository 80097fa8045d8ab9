#include "key_hold.h"

#include "game_state.h"

void UpdateKeyHold(const char* keyState) {
  for (int code = 0; code < KEY_CODE_COUNT; ++code) {
    keyHold[code] = keyState[code] != 0 ? keyHold[code] + 1 : 0;
  }
}

bool KeyPressed(int keyCode) { return keyHold[keyCode] == 1; }

bool KeyHeld(int keyCode) { return keyHold[keyCode] >= 1; }
