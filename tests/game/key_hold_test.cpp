// The key-hold counters: a key counts the frames it has been down, and
// "pressed" is only the first of them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game_state.h"
#include "key_codes.h"
#include "key_hold.h"

namespace {

// One frame's keyboard with only the listed keys down.
void ReadFrame(std::initializer_list<int> down) {
  char state[KEY_CODE_COUNT];
  std::memset(state, 0, sizeof state);
  for (int code : down) state[code] = static_cast<char>(0x80);
  UpdateKeyHold(state);
}

struct HoldCase {
  const char* name;
  std::vector<bool> enterDownByFrame;
  std::vector<std::uint32_t> expectedCounter;
};

TEST(KeyHold, CountsFramesHeldAndRestartsAfterRelease) {
  const HoldCase cases[] = {
      {"held", {true, true, true}, {1, 2, 3}},
      {"released for one frame", {true, true, false, true}, {1, 2, 0, 1}},
      {"never down", {false, false}, {0, 0}},
      {"tapped twice", {true, false, true, false}, {1, 0, 1, 0}},
  };
  for (const HoldCase& c : cases) {
    keyHold[KEY_ENTER] = 0;
    for (std::size_t frame = 0; frame < c.enterDownByFrame.size(); ++frame) {
      if (c.enterDownByFrame[frame]) {
        ReadFrame({KEY_ENTER});
      } else {
        ReadFrame({});
      }
      EXPECT_EQ(keyHold[KEY_ENTER], c.expectedCounter[frame]) << c.name << ", frame " << frame;
      EXPECT_EQ(KeyPressed(KEY_ENTER), c.expectedCounter[frame] == 1) << c.name << ", frame " << frame;
      EXPECT_EQ(KeyHeld(KEY_ENTER), c.expectedCounter[frame] >= 1) << c.name << ", frame " << frame;
    }
  }
}

// Every one of the 256 codes counts on its own, and any non-zero byte is
// "down", not only the 0x80 that DirectInput reports.
TEST(KeyHold, EveryCodeCountsOnItsOwn) {
  char state[KEY_CODE_COUNT];
  for (int code = 0; code < KEY_CODE_COUNT; ++code) state[code] = static_cast<char>(code % 3 == 0 ? 0 : code);
  UpdateKeyHold(state);
  UpdateKeyHold(state);
  for (int code = 0; code < KEY_CODE_COUNT; ++code) {
    EXPECT_EQ(keyHold[code], code % 3 == 0 ? 0u : 2u) << "code " << code;
  }
  ReadFrame({KEY_UP, KEY_DOWN});
  EXPECT_EQ(keyHold[KEY_UP], 3u);
  EXPECT_EQ(keyHold[KEY_DOWN], 3u);
  EXPECT_EQ(keyHold[KEY_LEFT], 0u);
}

}  // namespace
