// MT19937 generator, seeded at window creation.
#pragma once

#include <cstdint>

inline constexpr int kRandomStateWords = 624;

struct RandomState {
  std::uint32_t words[kRandomStateWords];
  int ready;
  int mmx;
};

// Fills the state with the 1998 reference initialisation and refills it once.
void SeedRandom(std::uint32_t seed);
// The standard MT19937 recurrence over the whole state.
void RefillRandomState();
const RandomState* GetRandomState();
// 1 when the processor reports MMX.
int HasMmx();
