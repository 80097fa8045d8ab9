// Deterministic randomness for the procedural art and sound: a seeded
// generator and tileable value noise.
#pragma once

#include <cstdint>

namespace assetgen {

// A small seeded generator (SplitMix64): the same seed gives the same
// sequence on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  float Uniform();                        // 0 <= x < 1
  float Range(float low, float high);     // low <= x < high
  int Below(int count);                   // 0 <= n < count

 private:
  std::uint64_t state_;
};

// Smooth value noise in 0..1 at (x, y), repeating every period cells in x
// and y (0: no repetition in that direction).
float ValueNoise(float x, float y, std::uint32_t seed, int periodX = 0, int periodY = 0);
// Octaves of value noise, each twice as fine and half as strong; the
// periods double with the octaves, so the sum tiles as the first octave.
float FractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX = 0, int periodY = 0);

}  // namespace assetgen
