// The game's random numbers are the same sequence on every machine.
#include <gtest/gtest.h>

#include "game_rand.h"

namespace {

TEST(GameRand, UnseededSequenceStartsFromStateOne) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(GameRand(), value);
}

}  // namespace
