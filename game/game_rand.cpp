#include "game_rand.h"

#include <cstdint>

namespace {

// The state starts at 1, as an unseeded generator does.
std::uint32_t g_randState = 1;

}  // namespace

int GameRand() {
  g_randState = g_randState * 214013u + 2531011u;
  return static_cast<int>((g_randState >> 16) & GAME_RAND_MAX);
}
