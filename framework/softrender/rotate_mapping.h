// The geometry of the rotated blit: the turned image's corners about the
// centre, the destination box that covers them, and the inverse mapping
// that steps a 14.18 source position (u, v) across that box. Positions are
// kept in 64 bits, so a value that would wrap in 32 bits is either exact or
// refused; a conversion out of the 32-bit range refuses the whole draw.
#pragma once

#include <cstdint>
#include <optional>

#include "softrender/draw_clip.h"

inline constexpr int kFixedShift = 18;  // 14.18 fixed point
inline constexpr std::int64_t kFixedOne = std::int64_t{1} << kFixedShift;

// The per-call values of a turn by `angle` at `scale` of a w x h source.
struct RotationSetUp {
  std::int64_t sinMinus, cosMinus;  // sine and cosine of -angle, x 262,144
  std::int64_t sinPlus, cosPlus;    // of +angle
  float halfWidth, halfHeight;      // w x scale x 0.5, h x scale x 0.5
  float scale;
  std::uint32_t width, height;
};

// Empty for a scale of 0 or one that is not finite.
std::optional<RotationSetUp> SetUpRotation(float angle, float scale, std::uint32_t width, std::uint32_t height);

// Corners in 14.18 destination positions, in the order top-left,
// bottom-left, bottom-right, top-right of the unturned image; empty when a
// corner's offset from the centre does not convert.
struct TurnedCorners {
  std::int64_t x[4];
  std::int64_t y[4];
};
std::optional<TurnedCorners> TurnCorners(const RotationSetUp& setUp, int x, int y);

// The box the turned image can cover (whole pixels, right and bottom
// exclusive): two pixels of margin before and four after the corners.
struct WideBox {
  std::int64_t left, top, right, bottom;
};
WideBox CoveringBox(const TurnedCorners& corners);

// The source position of box pixel (column i, row j) is
// (u0 + j x rowU + i x stepU, v0 + j x rowV + i x stepV).
struct InverseMapping {
  std::int64_t u0, v0;
  std::int64_t stepU, stepV;
  std::int64_t rowU, rowV;
};
// Empty when a value does not convert or the box has no row.
std::optional<InverseMapping> MapBox(const RotationSetUp& setUp, int x, int y, const DrawBox& box);

// The four points handed to the quad drawing on the mirrored path, as
// {x, y} pairs: the corners in whole pixels (truncated toward zero) in the
// order top-right, top-left, bottom-right, bottom-left; empty when one lies
// outside the 32-bit range.
struct QuadPoints {
  std::int32_t xy[8];
};
std::optional<QuadPoints> MirroredQuadPoints(const TurnedCorners& corners);
