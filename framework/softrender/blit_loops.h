// The pixel loops of the image blit: the normal path (every pixel looked at,
// rows copied whole where nothing is blended, RGB565 pairs where the add and
// subtract work two pixels per word) and the run-length path (transparent
// runs stepped over, the others drawn by the pixel library).
#pragma once

#include <algorithm>
#include <cstring>

#include "softrender/alpha_rows_sse2.h"
#include "softrender/kernel_loops.h"
#include "softrender/loop_table.h"
#include "softrender/pixel_ops.h"

namespace blit_rows {

// Pairs of pixels through the RGB565 two-pixel add or subtract; a pixel
// whose partner is transparent, and the odd last pixel, go alone.
template <bool Palette, Combo C>
void DrawPairRow(const std::uint8_t* sp, std::uint8_t* dp, int width, const PixelContext& context) {
  using Source = SourcePixels<Rgb565, Palette, false>;
  int x = 0;
  for (; x + 1 < width; x += 2, sp += 2 * Source::kBytes, dp += 4) {
    const bool first = !C.keyed || Source::KeyValue(sp) != context.key;
    const bool second = !C.keyed || Source::KeyValue(sp + Source::kBytes) != context.key;
    if (first && second) {
      const std::uint32_t pair = Source::Colour(sp, context) | Source::Colour(sp + Source::kBytes, context) << 16;
      const std::uint32_t d = LoadU32(dp);
      StoreU32(dp, C.mode == 2 ? rgb565::SaturatingAddPair(d, pair) : rgb565::SaturatingSubtractPair(d, pair));
      continue;
    }
    if (first) DrawFetched<Rgb565, Palette, C, BlitPolicy, false>(sp, nullptr, dp, context);
    if (second) DrawFetched<Rgb565, Palette, C, BlitPolicy, false>(sp + Source::kBytes, nullptr, dp + 2, context);
  }
  if (x < width) DrawSourcePixel<Rgb565, Palette, C, BlitPolicy>(sp, nullptr, dp, context);
}

}  // namespace blit_rows

template <class Px, bool Palette>
template <Combo C>
void ImageBlitKernel<Px, Palette>::Loop(const BlitJob& job) {
  using Source = SourcePixels<Px, Palette, C.alpha>;
  constexpr bool kRowCopy = C.mode == 0 && !C.blend && !C.tint && !C.keyed && !Palette && Source::kBytes == Px::kBytes;
  constexpr bool kPairs = Px::kBytes == 2 && C.param == ParamCase::kFull && BlitPolicy::kPairs565;
  constexpr bool kKeyedAlphaCopy = Px::kBytes == 4 && !Palette && C.mode == 0 && C.alpha && C.keyed && !C.blend && !C.tint;
  const std::uint8_t* sourceRow = job.source;
  const std::uint8_t* blendRow = job.blend;
  std::uint8_t* destinationRow = job.destination;
  for (int row = 0; row < job.height; ++row) {
    if constexpr (kRowCopy) {
      std::memcpy(destinationRow, sourceRow, static_cast<std::size_t>(job.width) * Px::kBytes);
    } else if constexpr (kPairs) {
      blit_rows::DrawPairRow<Palette, C>(sourceRow, destinationRow, job.width, job.pixel);
    } else {
      const std::uint8_t* sp = sourceRow;
      const std::uint8_t* bp = blendRow;
      std::uint8_t* dp = destinationRow;
      int x = 0;
      if constexpr (kKeyedAlphaCopy) {
        // Sprites are short rows far apart: fetch the rows ahead early (an
        // address past the image is only a hint, never read).
        for (int ahead = 2; ahead <= 3; ++ahead) {
          const std::uintptr_t rowAhead = reinterpret_cast<std::uintptr_t>(dp) + ahead * job.destinationPitch;
          _mm_prefetch(reinterpret_cast<const char*>(rowAhead), _MM_HINT_T0);
          _mm_prefetch(reinterpret_cast<const char*>(rowAhead + 60), _MM_HINT_T0);
        }
        x = DrawKeyedAlphaRow32(sp, dp, job.width);
        sp += x * Source::kBytes;
        dp += x * Px::kBytes;
      }
      for (; x < job.width; ++x, sp += Source::kBytes, dp += Px::kBytes) {
        DrawSourcePixel<Px, Palette, C, BlitPolicy>(sp, bp, dp, job.pixel);
        if constexpr (C.blend) ++bp;
      }
    }
    sourceRow += job.sourcePitch;
    destinationRow += job.destinationPitch;
    if constexpr (C.blend) blendRow += job.blendPitch;
  }
}

// Each code: kind in the top two bits (0 skip, 1 opaque, 2 blended by its
// own alpha, 3 end of row), run length minus one in the low six. A run
// never reaches past the row's width, whatever the stream says.
template <class Px, bool Palette>
template <Combo C>
void RunLengthKernel<Px, Palette>::Loop(const BlitJob& job) {
  using Source = SourcePixels<Px, Palette, C.alpha>;
  constexpr bool kCopyRuns = C.mode == 0 && !C.blend && !C.tint && !Palette && Source::kBytes == Px::kBytes;
  const std::uint8_t* code = job.runs;
  for (int row = 0; row < job.height; ++row) {
    const std::uint8_t* sp = job.source + row * job.sourcePitch;
    const std::uint8_t* bp = C.blend ? job.blend + row * job.blendPitch : nullptr;
    std::uint8_t* dp = job.destination + row * job.destinationPitch;
    int left = job.width;
    for (std::uint8_t run = *code++; run < 0xC0; run = *code++) {
      const int count = std::min((run & 0x3F) + 1, left);
      const int kind = run >> 6;
      if (kind == 1 && kCopyRuns) {
        std::memcpy(dp, sp, static_cast<std::size_t>(count) * Px::kBytes);
      } else if (kind == 2 && C.alpha) {
        for (int i = 0; i < count; ++i)
          DrawFetched<Px, Palette, C, PlainPolicy, true>(sp + i * Source::kBytes, C.blend ? bp + i : nullptr,
                                                         dp + i * Px::kBytes, job.pixel);
      } else if (kind != 0) {
        for (int i = 0; i < count; ++i)
          DrawFetched<Px, Palette, C, PlainPolicy, false>(sp + i * Source::kBytes, C.blend ? bp + i : nullptr,
                                                          dp + i * Px::kBytes, job.pixel);
      }
      left -= count;
      sp += count * Source::kBytes;
      dp += count * Px::kBytes;
      if constexpr (C.blend) bp += count;
    }
  }
}
