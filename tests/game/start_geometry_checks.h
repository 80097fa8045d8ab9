// The places every stage's start geometry gives the player (width 38) and
// the boss, checked alike wherever a test applies it.
#pragma once

#include <gtest/gtest.h>

#include "game_state.h"

namespace gametest {

inline void ExpectStartGeometry() {
  EXPECT_EQ(player.x, 422.0);
  EXPECT_EQ(player.y, 751.0);
  EXPECT_EQ(boss.x, 414.0);
  EXPECT_EQ(boss.y, 255.0);
  EXPECT_EQ(boss.width, 55);
  EXPECT_EQ(boss.height, 94);
  EXPECT_EQ(boss.centreX, 441.0);
  EXPECT_EQ(boss.centreY, 302.0);
}

}  // namespace gametest
