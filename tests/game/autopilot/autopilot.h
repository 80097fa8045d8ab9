// A scripted player for replays: each battle frame it reads the game's
// state (the player, the four enemy pools, the boss's centre, the bombs)
// and chooses the keys of the next frame. It knows no stage: it dodges what
// flies, keeps firing from under where the boss will be when the shots
// arrive, and bombs when a hit is near and no move avoids it.
#pragma once

#include <string>

namespace gametest {

// The keys the scripted player holds, as bits.
enum PlayerKey : unsigned {
  kKeyUp = 1u << 0,
  kKeyDown = 1u << 1,
  kKeyLeft = 1u << 2,
  kKeyRight = 1u << 3,
  kKeySlow = 1u << 4,
  kKeyShoot = 1u << 5,
  kKeyBomb = 1u << 6,
  kKeyEnter = 1u << 7,
  kKeySpace = 1u << 8,
  kKeyMenu = 1u << 9,  // with F4: closes the window
  kKeyF4 = 1u << 10,
};
using KeySet = unsigned;

// The keys by their input-script names, in bit order: "UP A".
std::string KeyNames(KeySet keys);

enum class BattlePlay {
  kWin,   // dodge, fire under the boss, bomb when cornered
  kLose,  // walk into the fire, never shoot nor bomb
};

// The keys for the next battle frame; `held` are the keys of the last one
// (a bomb needs its key pressed anew). Both plays weigh the same moves by
// the same look ahead, one shunning hits, the other seeking them.
KeySet ChooseBattleKeys(BattlePlay play, KeySet held);

}  // namespace gametest
