// A row of 32-bit pixels drawn with their own alpha and transparency (mode
// 0, keyed alpha source, no blend image, no tint), four pixels at a time
// with SSE2. It computes exactly what the per-pixel operation does: alpha
// 255 stores the whole source pixel, any other alpha d + floor((s - d) * A
// / 256) per channel as (d * (256 - A) + s * A) >> 8 in 16-bit lanes (the
// sum never exceeds 255 * 256) with the destination's fourth byte kept;
// alpha 0 leaves every byte as it was, which that same formula gives.
#pragma once

#include <emmintrin.h>

#include <cstdint>

// Draws width / 4 groups of four pixels and returns how many it drew.
inline int DrawKeyedAlphaRow32(const std::uint8_t* sp, std::uint8_t* dp, int width) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i full = _mm_set1_epi16(256);
  int x = 0;
  for (; x + 4 <= width; x += 4, sp += 16, dp += 16) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sp));
    const __m128i alphas = _mm_and_si128(s, alphaMask);
    // Groups wholly transparent or wholly opaque need not read the destination.
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alphas, zero)) == 0xFFFF) continue;
    const __m128i opaque = _mm_cmpeq_epi32(alphas, alphaMask);
    if (_mm_movemask_epi8(opaque) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dp), s);
      continue;
    }
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dp));
    // Each pixel's alpha in all four of its 16-bit lanes.
    const __m128i alpha32 = _mm_srli_epi32(s, 24);
    const __m128i alpha16 = _mm_or_si128(alpha32, _mm_slli_epi32(alpha32, 16));
    const __m128i alphaLow = _mm_unpacklo_epi32(alpha16, alpha16);
    const __m128i alphaHigh = _mm_unpackhi_epi32(alpha16, alpha16);
    const auto mix = [&](__m128i s16, __m128i d16, __m128i a16) {
      return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, a16)), _mm_mullo_epi16(s16, a16)),
                            8);
    };
    const __m128i low = mix(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), alphaLow);
    const __m128i high = mix(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), alphaHigh);
    const __m128i blended =
        _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_packus_epi16(low, high)), _mm_and_si128(d, alphaMask));
    const __m128i result = _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, blended));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dp), result);
  }
  return x;
}
