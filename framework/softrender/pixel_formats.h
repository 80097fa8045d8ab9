// How the software kernels read and write pixels: the two destination
// colour types, and the source pixels they draw from (direct colour, direct
// colour with an alpha byte, or palette indices). Every load and store goes
// through memcpy, so rows of any alignment are read and written safely.
#pragma once

#include <cstdint>
#include <cstring>

#include "softrender/pixel_context.h"

inline std::uint32_t LoadU32(const std::uint8_t* at) {
  std::uint32_t value;
  std::memcpy(&value, at, 4);
  return value;
}
inline std::uint32_t LoadU16(const std::uint8_t* at) {
  std::uint16_t value;
  std::memcpy(&value, at, 2);
  return value;
}
inline void StoreU32(std::uint8_t* at, std::uint32_t value) { std::memcpy(at, &value, 4); }
inline void StoreU16(std::uint8_t* at, std::uint32_t value) {
  const auto half = static_cast<std::uint16_t>(value);
  std::memcpy(at, &half, 2);
}

// 32-bit pixels: blue, green, red and a fourth byte, little-endian.
struct Rgb32 {
  static constexpr int kBytes = 4;
  static std::uint32_t Load(const std::uint8_t* at) { return LoadU32(at); }
  static void Store(std::uint8_t* at, std::uint32_t value) { StoreU32(at, value); }
};

// RGB565 pixels: red in bits 11-15, green 5-10, blue 0-4.
struct Rgb565 {
  static constexpr int kBytes = 2;
  static std::uint32_t Load(const std::uint8_t* at) { return LoadU16(at); }
  static void Store(std::uint8_t* at, std::uint32_t value) { StoreU16(at, value); }
};

// The pixels of a source image. An RGB565 image with alpha keeps the colour
// word, then the alpha byte, then a byte nobody reads; a 32-bit image keeps
// its alpha in the fourth byte. A palettised image holds one index per pixel.
template <class Px, bool Palette, bool Alpha>
struct SourcePixels {
  static constexpr int kBytes = Palette ? 1 : (Alpha ? 4 : Px::kBytes);

  // What the transparent colour is compared with: the index, or the whole
  // stored pixel.
  static std::uint32_t KeyValue(const std::uint8_t* at) {
    if constexpr (Palette) return at[0];
    else return Px::Load(at);
  }
  // The colour drawn: a palette entry, or the stored pixel (the colour word
  // alone for RGB565 with alpha).
  static std::uint32_t Colour(const std::uint8_t* at, const PixelContext& context) {
    if constexpr (Palette) return Px::Load(context.palette + at[0] * Px::kBytes);
    else return Px::Load(at);
  }
  static std::uint32_t AlphaOf(const std::uint8_t* at) {
    if constexpr (Px::kBytes == 4) return at[3];
    else return at[2];
  }
};
