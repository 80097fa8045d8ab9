// The pixel-operation library every image kernel draws through: fetch one
// source pixel, apply the transparent-colour or alpha test, and combine it
// with the destination by the combination's operation. Written once over
// the colour type, the palette flag, the combination and the kernel's policy.
#pragma once

#include <cstdint>

#include "image/blend_tables.h"
#include "softrender/blend_combo.h"
#include "softrender/pixel_formats.h"
#include "softrender/pixel_ops_rgb32.h"
#include "softrender/pixel_ops_rgb565.h"

template <class Px, Combo C, class Policy, bool WithAlpha>
inline void DrawColour(std::uint8_t* dp, std::uint32_t colour, std::uint32_t weight, const PixelContext& context) {
  if constexpr (Px::kBytes == 4) rgb32::DrawPixel<C, WithAlpha>(dp, colour, weight, context);
  else rgb565::DrawPixel<C, Policy, WithAlpha>(dp, colour, weight, context);
}

// Draws the source pixel at sp (its blend-image byte at bp), with or
// without its alpha, and no transparency test.
template <class Px, bool Palette, Combo C, class Policy, bool WithAlpha>
inline void DrawFetched(const std::uint8_t* sp, const std::uint8_t* bp, std::uint8_t* dp,
                        const PixelContext& context) {
  using Source = SourcePixels<Px, Palette, C.alpha>;
  std::uint32_t weight = 1;
  if constexpr (C.blend) weight = BlendImageAlphaTable[*bp];
  if constexpr (WithAlpha) weight *= Source::AlphaOf(sp);
  DrawColour<Px, C, Policy, WithAlpha>(dp, Source::Colour(sp, context), weight, context);
}

// Draws the source pixel at sp after its tests: a keyed source without
// alpha skips its transparent colour; a keyed alpha source skips alpha 0
// and draws alpha 255 as opaque; an unkeyed alpha source always blends by
// its alpha (the image blit copies it in plain mode 0).
template <class Px, bool Palette, Combo C, class Policy>
inline void DrawSourcePixel(const std::uint8_t* sp, const std::uint8_t* bp, std::uint8_t* dp,
                            const PixelContext& context) {
  using Source = SourcePixels<Px, Palette, C.alpha>;
  if constexpr (!C.alpha) {
    if constexpr (C.keyed)
      if (Source::KeyValue(sp) == context.key) return;
    DrawFetched<Px, Palette, C, Policy, false>(sp, bp, dp, context);
  } else if constexpr (C.keyed) {
    const std::uint32_t alpha = Source::AlphaOf(sp);
    if (alpha == 255) return DrawFetched<Px, Palette, C, Policy, false>(sp, bp, dp, context);
    if (alpha == 0 && !(Policy::kKeyedClearMultiplies && C.mode == 4)) return;
    DrawFetched<Px, Palette, C, Policy, true>(sp, bp, dp, context);
  } else {
    constexpr bool kCopy = Policy::kCopiesUnkeyedAlpha && C.mode == 0 && !C.blend && !C.tint;
    DrawFetched<Px, Palette, C, Policy, !kCopy>(sp, bp, dp, context);
  }
}

// Draws one colour, already tinted by the caller, onto the pixel at dp by
// the blend mode's operation: that of an image pixel drawn without blend
// image, tint, alpha or transparent colour. The colour kernels (flat
// triangles, fills) draw through it.
template <class Px, int Mode>
inline void DrawFlatColour(std::uint8_t* dp, std::uint32_t colour, const PixelContext& context) {
  constexpr Combo kFlat{Mode, false, false, false, false, ParamCase::kAny};
  DrawColour<Px, kFlat, PlainPolicy, false>(dp, colour, 1, context);
}
