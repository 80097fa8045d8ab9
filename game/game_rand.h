// The game's random numbers: a fixed linear congruential generator, never
// seeded, so every run on every machine sees the same sequence.
#pragma once

inline constexpr int GAME_RAND_MAX = 0x7FFF;

// The next number, 0..32767.
int GameRand();

// Back to the state the program starts in, for tests that replay the
// sequence from its start within one process.
void RestartGameRand();
