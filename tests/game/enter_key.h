// The keyboard as the frame loop reads it, with Enter down or up and every
// other key up.
#pragma once

#include "game_records.h"
#include "key_codes.h"
#include "key_hold.h"

namespace gametest {

inline void ReadKeysWithEnter(bool enterDown) {
  char keys[KEY_CODE_COUNT] = {};
  keys[KEY_ENTER] = enterDown ? 1 : 0;
  UpdateKeyHold(keys);
}

}  // namespace gametest
