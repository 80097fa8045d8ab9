#include "game_rand.h"

#include <cstdint>

namespace {

// The state starts at 1, as an unseeded generator does.
constexpr std::uint32_t kStartState = 1;
std::uint32_t g_randState = kStartState;

}  // namespace

int GameRand() {
  g_randState = g_randState * 214013u + 2531011u;
  return static_cast<int>((g_randState >> 16) & GAME_RAND_MAX);
}

void RestartGameRand() { g_randState = kStartState; }
