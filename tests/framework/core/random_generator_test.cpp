#include "core/base/random_generator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

constexpr int N = 624;
constexpr int M = 397;

// The 1998 reference seeding followed by one generation pass, written out
// the way the published reference code reads (three loops), independently of
// the library's single wrapped loop.
std::array<std::uint32_t, N> ReferenceState(std::uint32_t seed) {
  std::array<std::uint32_t, N> mt{};
  for (int i = 0; i < N; ++i) {
    mt[i] = seed & 0xffff0000u;
    seed = 69069u * seed + 1u;
    mt[i] |= (seed & 0xffff0000u) >> 16;
    seed = 69069u * seed + 1u;
  }
  const std::uint32_t mag01[2] = {0u, 0x9908b0dfu};
  int kk = 0;
  for (; kk < N - M; ++kk) {
    const std::uint32_t y = (mt[kk] & 0x80000000u) | (mt[kk + 1] & 0x7fffffffu);
    mt[kk] = mt[kk + M] ^ (y >> 1) ^ mag01[y & 1u];
  }
  for (; kk < N - 1; ++kk) {
    const std::uint32_t y = (mt[kk] & 0x80000000u) | (mt[kk + 1] & 0x7fffffffu);
    mt[kk] = mt[kk + (M - N)] ^ (y >> 1) ^ mag01[y & 1u];
  }
  const std::uint32_t y = (mt[N - 1] & 0x80000000u) | (mt[0] & 0x7fffffffu);
  mt[N - 1] = mt[M - 1] ^ (y >> 1) ^ mag01[y & 1u];
  return mt;
}

TEST(RandomGeneratorTest, SeedingAndRefillMatchTheReference) {
  for (const std::uint32_t seed : {4357u, 1u, 0x7FFFFFFFu, 123456789u}) {
    SeedRandom(seed);
    const RandomState* state = GetRandomState();
    const auto expected = ReferenceState(seed);
    for (int i = 0; i < N; ++i) {
      ASSERT_EQ(state->words[i], expected[i]) << "seed " << seed << " word " << i;
    }
    EXPECT_EQ(state->ready, 1);
  }
}

TEST(RandomGeneratorTest, SeedingRecordsTheProcessorsMmxFlag) {
  SeedRandom(5);
  EXPECT_EQ(GetRandomState()->mmx, HasMmx());
#if defined(__x86_64__)
  EXPECT_EQ(HasMmx(), 1);  // every x86-64 processor has MMX
#endif
}

}  // namespace
