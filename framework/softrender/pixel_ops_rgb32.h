// What one drawn pixel becomes on a 32-bit destination, for every blend
// mode and selector combination. Weights are removed by a right shift of 8
// bits each (no rounding term), divisions by 255 are table lookups, and the
// add and subtract work on whole pixels with their low-bit effects kept.
#pragma once

#include <cstdint>

#include "softrender/blend_combo.h"
#include "softrender/packed_arith.h"
#include "softrender/pixel_context.h"
#include "softrender/pixel_formats.h"

namespace rgb32 {

inline constexpr std::uint32_t kColourMask = 0x00FFFFFF;

inline std::uint32_t Tint(std::uint32_t s, const PixelContext& c) {
  return c.tintBlue[s & 0xFF] | c.tintGreen[(s >> 8) & 0xFF] << 8 | c.tintRed[(s >> 16) & 0xFF] << 16;
}

// Applies op to the three colour channels of d and x; the fourth byte of d
// stays.
template <class Op>
inline std::uint32_t PerChannel(std::uint32_t d, std::uint32_t x, Op op) {
  std::uint32_t out = d & ~kColourMask;
  for (int shift = 0; shift < 24; shift += 8) out |= op((d >> shift) & 0xFF, (x >> shift) & 0xFF) << shift;
  return out;
}

// d + floor((x - d) * weight / 2^kShift) per channel, as the non-negative
// sum d * (2^kShift - weight) + x * weight, which fits 32 bits for any
// weight below 2^kShift. With one weight two channels share a word.
template <int kShift>
inline std::uint32_t Mix(std::uint32_t d, std::uint32_t x, std::uint32_t weight) {
  if constexpr (kShift == 8) {
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue = (((d & 0xFF00FF) * keep + (x & 0xFF00FF) * weight) >> 8) & 0xFF00FF;
    const std::uint32_t green = (((d & 0xFF00) * keep + (x & 0xFF00) * weight) >> 8) & 0xFF00;
    return (d & ~kColourMask) | redBlue | green;
  } else {
    const std::uint32_t keep = (1u << kShift) - weight;
    return PerChannel(d, x, [&](std::uint32_t dc, std::uint32_t xc) { return (dc * keep + xc * weight) >> kShift; });
  }
}

inline std::uint32_t Halve(std::uint32_t s, std::uint32_t d) { return ((s >> 1) & 0x007F7F7F) + ((d >> 1) & 0x007F7F7F); }

// Draws colour s (the whole source pixel or palette entry) onto the pixel at
// dp. weight is the product of the blend-image weight and the alpha where
// the combination carries them (WithAlpha: this pixel uses its alpha).
template <Combo C, bool WithAlpha>
inline void DrawPixel(std::uint8_t* dp, std::uint32_t s, std::uint32_t weight, const PixelContext& c) {
  constexpr int kFactors = (C.blend ? 1 : 0) + (WithAlpha ? 1 : 0);
  const auto tinted = [&](std::uint32_t value) { return C.tint ? Tint(value, c) : value; };
  if constexpr (C.mode == 0) {
    if constexpr (kFactors > 0) StoreU32(dp, Mix<8 * kFactors>(LoadU32(dp), tinted(s), weight));
    else if constexpr (C.tint) StoreU32(dp, (LoadU32(dp) & ~kColourMask) | Tint(s, c));
    else StoreU32(dp, s);
  } else if constexpr (C.mode == 1 || C.mode == 10 || C.mode == 11) {
    const std::uint32_t d = LoadU32(dp);
    if constexpr (C.param == ParamCase::kHalf) {
      StoreU32(dp, Halve(s, d));
    } else {
      std::uint32_t x = tinted(C.mode == 10 ? ~s : s);
      if constexpr (C.mode == 11) x = PerChannel(d, x, [](std::uint32_t dc, std::uint32_t xc) { return xc * dc >> 8; });
      StoreU32(dp, Mix<8 * (kFactors + 1)>(d, x, kFactors > 0 ? weight * c.param : c.param));
    }
  } else if constexpr (C.mode == 4) {
    const std::uint32_t factor = kFactors > 0 ? weight : 1;
    StoreU32(dp, PerChannel(LoadU32(dp), tinted(s), [&](std::uint32_t dc, std::uint32_t sc) {
               return dc * sc * factor >> (8 + 8 * kFactors);
             }));
  } else {
    static_assert(C.mode == 2 || C.mode == 3);
    std::uint32_t t;
    if constexpr (C.param == ParamCase::kFull) t = s;
    else if constexpr (kFactors == 0)
      t = PerChannel(0, tinted(s), [&](std::uint32_t, std::uint32_t sc) { return c.paramRow[sc]; });
    else
      t = PerChannel(0, tinted(s), [&](std::uint32_t, std::uint32_t sc) {
        return sc * weight * c.param >> (8 * kFactors + 8);
      });
    const std::uint32_t d = LoadU32(dp);
    if constexpr (C.mode == 2) StoreU32(dp, SaturatingAdd<kPacked32, C.param != ParamCase::kFull>(d, t));
    else StoreU32(dp, SaturatingSubtract<kPacked32>(d, t));
  }
}

}  // namespace rgb32
