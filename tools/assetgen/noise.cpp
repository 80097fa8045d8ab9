// Seeded generator and value noise.
#include "noise.h"

#include <cmath>

namespace assetgen {

std::uint64_t Random::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Random::Uniform() { return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24); }

float Random::Range(float low, float high) { return low + (high - low) * Uniform(); }

int Random::Below(int count) { return static_cast<int>(Next() % static_cast<std::uint64_t>(count)); }

namespace {

float Lattice(int x, int y, std::uint32_t seed, int periodX, int periodY) {
  if (periodX > 0) x = ((x % periodX) + periodX) % periodX;
  if (periodY > 0) y = ((y % periodY) + periodY) % periodY;
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Fade(float t) { return t * t * (3 - 2 * t); }

}  // namespace

float ValueNoise(float x, float y, std::uint32_t seed, int periodX, int periodY) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float tx = Fade(x - fx), ty = Fade(y - fy);
  const float top = Lattice(ix, iy, seed, periodX, periodY) +
                    (Lattice(ix + 1, iy, seed, periodX, periodY) - Lattice(ix, iy, seed, periodX, periodY)) * tx;
  const float bottom = Lattice(ix, iy + 1, seed, periodX, periodY) +
                       (Lattice(ix + 1, iy + 1, seed, periodX, periodY) - Lattice(ix, iy + 1, seed, periodX, periodY)) * tx;
  return top + (bottom - top) * ty;
}

float FractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX, int periodY) {
  float sum = 0, weight = 0.5f, total = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ValueNoise(x, y, seed + octave * 7919u, periodX, periodY) * weight;
    total += weight;
    x *= 2;
    y *= 2;
    periodX *= 2;
    periodY *= 2;
    weight *= 0.5f;
  }
  return sum / total;
}

}  // namespace assetgen
