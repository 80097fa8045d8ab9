#include "core/base/random_generator.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

constexpr int kShift = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;

RandomState g_random{};

}  // namespace

int HasMmx() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return 0;
  return (edx >> 23) & 1u;
#else
  return 0;
#endif
}

void SeedRandom(std::uint32_t seed) {
  for (std::uint32_t& word : g_random.words) {
    word = seed & 0xFFFF0000u;
    seed = seed * 69069u + 1u;
    word |= (seed & 0xFFFF0000u) >> 16;
    seed = seed * 69069u + 1u;
  }
  // The MMX form of the refill computes the same words, so there is only
  // one recurrence; the flag is kept for what it reports.
  g_random.mmx = HasMmx();
  g_random.ready = 1;
  RefillRandomState();
}

void RefillRandomState() {
  std::uint32_t* mt = g_random.words;
  for (int k = 0; k < kRandomStateWords; ++k) {
    const std::uint32_t y = (mt[k] & kUpperMask) | (mt[(k + 1) % kRandomStateWords] & kLowerMask);
    mt[k] = mt[(k + kShift) % kRandomStateWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
  }
}

const RandomState* GetRandomState() { return &g_random; }
