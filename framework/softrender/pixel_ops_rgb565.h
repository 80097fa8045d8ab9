// What one drawn pixel becomes on an RGB565 destination, for every blend
// mode and selector combination. The fields (blue 5 bits, green 6, red 5)
// are taken apart and worked on as small integers, except in the copies,
// the halving and the packed add and subtract, which keep whole words and
// their low-bit effects.
#pragma once

#include <cstdint>

#include "softrender/blend_combo.h"
#include "softrender/packed_arith.h"
#include "softrender/pixel_context.h"
#include "softrender/pixel_formats.h"

namespace rgb565 {

// Applies op(destination field, source field, field bits, tint row) to blue,
// green and red and packs the results.
template <class Op>
inline std::uint32_t PerField(std::uint32_t d, std::uint32_t s, const PixelContext& c, Op op) {
  return op(d & 0x1F, s & 0x1F, 5, c.tintBlue) | op((d >> 5) & 0x3F, (s >> 5) & 0x3F, 6, c.tintGreen) << 5 |
         op((d >> 11) & 0x1F, (s >> 11) & 0x1F, 5, c.tintRed) << 11;
}

inline std::uint32_t Tint(std::uint32_t s, const PixelContext& c) {
  return PerField(0, s, c, [](std::uint32_t, std::uint32_t sf, int, const std::uint32_t* row) { return row[sf]; });
}

inline std::uint32_t Halve(std::uint32_t s, std::uint32_t d) { return ((s >> 1) & 0x7BEF7BEF) + ((d >> 1) & 0x7BEF7BEF); }

// Two horizontally adjacent pixels in one word, the first in the low half:
// the second pixel's blue adds only its upper four bits and takes the first
// pixel's red carry, and the carry out of the word saturates the second red.
inline std::uint32_t SaturatingAddPair(std::uint32_t d, std::uint32_t s) {
  const std::uint64_t wide = static_cast<std::uint64_t>(s & kPacked565.operand) + (d & kPacked565.operand);
  const auto sum = static_cast<std::uint32_t>(wide);
  const auto carryOut = static_cast<std::uint32_t>(wide >> 32);
  const std::uint32_t carry = sum & kPacked565.guard;
  return (carry - ((carry >> 5) | carryOut << 27)) | sum;
}

// The second pixel's blue has bit 0 forced to 1 and absorbs the first red's
// borrow; its red is cleared when the whole word borrows.
inline std::uint32_t SaturatingSubtractPair(std::uint32_t d, std::uint32_t s) {
  const std::uint32_t minuend = d | kPacked565.guard;
  const std::uint32_t subtrahend = s & kPacked565.operand;
  const std::uint32_t difference = minuend - subtrahend;
  const std::uint32_t borrow = difference & kPacked565.guard;
  const std::uint32_t topRed = minuend < subtrahend ? 0 : 0xF8000000;
  return difference & ((borrow - (borrow >> 5)) | topRed);
}

// Draws colour s (the colour word or palette entry) onto the pixel at dp.
// weight is the product of the blend-image weight and the alpha where they
// apply (WithAlpha: this pixel uses its alpha).
template <Combo C, class Policy, bool WithAlpha>
inline void DrawPixel(std::uint8_t* dp, std::uint32_t s, std::uint32_t weight, const PixelContext& c) {
  constexpr int kFactors = (C.blend ? 1 : 0) + (WithAlpha ? 1 : 0);
  const std::uint32_t d = LoadU16(dp);
  const auto tinted = [&](std::uint32_t value) { return C.tint ? Tint(value, c) : value; };
  const auto mix = [&](std::uint32_t x, std::uint32_t w, int shift) {
    return PerField(d, x, c, [&](std::uint32_t df, std::uint32_t xf, int, const std::uint32_t*) {
      return (df * ((1u << shift) - w) + xf * w) >> shift;
    });
  };
  if constexpr (C.mode == 0) {
    if constexpr (kFactors > 0) StoreU16(dp, mix(tinted(s), weight, 8 * kFactors));
    else StoreU16(dp, tinted(s));
  } else if constexpr (C.mode == 1 || C.mode == 10 || C.mode == 11) {
    if constexpr (C.param == ParamCase::kHalf) {
      StoreU16(dp, Halve(s, d));
    } else if constexpr (Policy::kMix6Plain565 && C.mode == 1 && C.Plain()) {
      StoreU16(dp, PerField(d, s, c, [&](std::uint32_t df, std::uint32_t sf, int, const std::uint32_t*) {
                 return static_cast<std::uint32_t>(c.paramMix6[sf * 64 + df]);
               }));
    } else {
      std::uint32_t x = tinted(C.mode == 10 ? ~s : s);
      if constexpr (C.mode == 11)
        x = PerField(d, x, c, [](std::uint32_t df, std::uint32_t xf, int bits, const std::uint32_t*) {
          return xf * df >> bits;
        });
      if constexpr (kFactors == 0) {
        StoreU16(dp, PerField(d, x, c, [&](std::uint32_t df, std::uint32_t xf, int, const std::uint32_t*) {
                   return static_cast<std::uint32_t>(static_cast<std::int32_t>(df) +
                                                     c.paramDiff[static_cast<std::int32_t>(xf - df)]);
                 }));
      } else if constexpr (FineGreenMultiplyBlend565<Policy>() && C.mode == 11 && WithAlpha && !C.blend &&
                           !C.tint) {
        // Green blends toward 32 x its product (s x d / 2, unrounded),
        // shifted by 21 instead of 16.
        const std::uint32_t w = weight * c.param;
        const std::uint32_t dg = (d >> 5) & 0x3F;
        const std::uint32_t fine = ((s >> 5) & 0x3F) * dg >> 1;
        const std::uint32_t green = (dg * 32 * (65536 - w) + fine * w) >> 21;
        StoreU16(dp, (mix(x, w, 16) & ~0x07E0u) | green << 5);
      } else {
        StoreU16(dp, mix(x, weight * c.param, 8 * (kFactors + 1)));
      }
    }
  } else if constexpr (C.mode == 4) {
    const std::uint32_t factor = kFactors > 0 ? weight : 1;
    StoreU16(dp, PerField(d, tinted(s), c, [&](std::uint32_t df, std::uint32_t sf, int bits, const std::uint32_t*) {
               return df * sf * factor >> (bits + 8 * kFactors);
             }));
  } else {
    static_assert(C.mode == 2 || C.mode == 3);
    std::uint32_t t;
    if constexpr (C.param == ParamCase::kFull) {
      t = s;
    } else if constexpr (C.tint && WithAlpha && !C.blend) {
      // This one combination scales by the alpha before the tint.
      t = PerField(0, s, c, [&](std::uint32_t, std::uint32_t sf, int, const std::uint32_t* row) {
        return c.paramRow[row[sf * weight >> 8]];
      });
    } else {
      t = PerField(0, tinted(s), c, [&](std::uint32_t, std::uint32_t sf, int, const std::uint32_t*) {
        return c.paramRow[kFactors > 0 ? sf * weight >> (8 * kFactors) : sf];
      });
    }
    if constexpr (C.mode == 2) StoreU16(dp, SaturatingAdd<kPacked565, C.param != ParamCase::kFull>(d, t));
    else StoreU16(dp, SaturatingSubtract<kPacked565>(d, t));
  }
}

}  // namespace rgb565
