// The rotated blit's set-up. Every product with 262,144 and every quotient
// is rounded to f32 and truncated toward zero; the integer sums that the
// positions are built from are exact in 64 bits. Each division of an exact
// integer (or f32) by the f32 scale is done in double: the quotient of
// operands this narrow never lies close enough to a midpoint of two f32
// values for the double rounding to differ from rounding it once.
#include "softrender/rotate_mapping.h"

#include <climits>
#include <algorithm>
#include <cmath>

#include "core/base/math_utils.h"

namespace {

// FloatToInt, with its out-of-range answer turned into "no value".
std::optional<std::int64_t> Truncated(float value) {
  const int result = FloatToInt(value);
  if (result == INT_MIN) return std::nullopt;
  return result;
}

std::optional<std::int64_t> ScaledQuotient(std::int64_t numerator, float scale) {
  return Truncated(static_cast<float>(static_cast<double>(numerator) / static_cast<double>(scale)));
}

}  // namespace

std::optional<RotationSetUp> SetUpRotation(float angle, float scale, std::uint32_t width, std::uint32_t height) {
  if (scale == 0 || !std::isfinite(scale)) return std::nullopt;
  float sine, cosine;
  RotationSetUp setUp{};
  SinCosF(-angle, &sine, &cosine);
  const auto sinMinus = Truncated(sine * static_cast<float>(kFixedOne));
  const auto cosMinus = Truncated(cosine * static_cast<float>(kFixedOne));
  SinCosF(angle, &sine, &cosine);
  const auto sinPlus = Truncated(sine * static_cast<float>(kFixedOne));
  const auto cosPlus = Truncated(cosine * static_cast<float>(kFixedOne));
  if (!sinMinus || !cosMinus || !sinPlus || !cosPlus) return std::nullopt;  // an angle that is not finite
  setUp.sinMinus = *sinMinus;
  setUp.cosMinus = *cosMinus;
  setUp.sinPlus = *sinPlus;
  setUp.cosPlus = *cosPlus;
  setUp.halfWidth = static_cast<float>(static_cast<double>(width) * scale * 0.5);
  setUp.halfHeight = static_cast<float>(static_cast<double>(height) * scale * 0.5);
  setUp.scale = scale;
  setUp.width = width;
  setUp.height = height;
  return setUp;
}

std::optional<TurnedCorners> TurnCorners(const RotationSetUp& setUp, int x, int y) {
  const auto product = [](float half, std::int64_t trig) {
    return static_cast<float>(static_cast<double>(half) * static_cast<double>(trig));
  };
  const float p = product(setUp.halfWidth, setUp.cosPlus), q = product(setUp.halfWidth, setUp.sinPlus);
  const float r = product(setUp.halfHeight, setUp.cosPlus), s = product(setUp.halfHeight, setUp.sinPlus);
  const auto sum = [](float a, float b) { return Truncated(static_cast<float>(static_cast<double>(a) + b)); };
  const std::optional<std::int64_t> offsets[8] = {sum(-p, s), sum(-r, -q), sum(-p, -s), sum(r, -q),
                                                  sum(p, -s), sum(r, q),   sum(p, s),   sum(q, -r)};
  TurnedCorners corners{};
  for (int corner = 0; corner < 4; ++corner) {
    if (!offsets[2 * corner] || !offsets[2 * corner + 1]) return std::nullopt;
    corners.x[corner] = x * kFixedOne + *offsets[2 * corner];
    corners.y[corner] = y * kFixedOne + *offsets[2 * corner + 1];
  }
  return corners;
}

WideBox CoveringBox(const TurnedCorners& corners) {
  std::int64_t minX = corners.x[0], maxX = corners.x[0], minY = corners.y[0], maxY = corners.y[0];
  for (int corner = 1; corner < 4; ++corner) {
    minX = std::min(minX, corners.x[corner]);
    maxX = std::max(maxX, corners.x[corner]);
    minY = std::min(minY, corners.y[corner]);
    maxY = std::max(maxY, corners.y[corner]);
  }
  // Whole pixels truncate toward zero, as the division does.
  return {minX / kFixedOne - 2, minY / kFixedOne - 2, maxX / kFixedOne + 4, maxY / kFixedOne + 4};
}

std::optional<InverseMapping> MapBox(const RotationSetUp& setUp, int x, int y, const DrawBox& box) {
  if (box.Empty()) return std::nullopt;
  const std::int64_t centreU = (setUp.width >> 1) * kFixedOne, centreV = (setUp.height >> 1) * kFixedOne;
  const auto at = [&](std::int64_t px, std::int64_t py, std::int64_t* u, std::int64_t* v) {
    const auto du = ScaledQuotient((px - x) * setUp.cosMinus - (py - y) * setUp.sinMinus, setUp.scale);
    const auto dv = ScaledQuotient((py - y) * setUp.cosMinus + (px - x) * setUp.sinMinus, setUp.scale);
    if (!du || !dv) return false;
    *u = *du + centreU;
    *v = *dv + centreV;
    return true;
  };
  const auto stepU = Truncated(static_cast<float>(static_cast<double>(setUp.cosPlus) / setUp.scale));
  const auto stepV = Truncated(static_cast<float>(static_cast<double>(setUp.sinMinus) / setUp.scale));
  InverseMapping mapping{};
  std::int64_t u1, v1;
  if (!stepU || !stepV || !at(box.left, box.top, &mapping.u0, &mapping.v0) || !at(box.left, box.bottom, &u1, &v1))
    return std::nullopt;
  mapping.stepU = *stepU;
  mapping.stepV = *stepV;
  // The row step comes from the two rounded end positions, truncated.
  mapping.rowU = (u1 - mapping.u0) / box.Height();
  mapping.rowV = (v1 - mapping.v0) / box.Height();
  return mapping;
}

std::optional<QuadPoints> MirroredQuadPoints(const TurnedCorners& corners) {
  static constexpr int kOrder[4] = {3, 0, 2, 1};
  QuadPoints points{};
  for (int i = 0; i < 4; ++i) {
    const std::int64_t x = corners.x[kOrder[i]] / kFixedOne, y = corners.y[kOrder[i]] / kFixedOne;
    if (x != static_cast<std::int32_t>(x) || y != static_cast<std::int32_t>(y)) return std::nullopt;
    points.xy[2 * i] = static_cast<std::int32_t>(x);
    points.xy[2 * i + 1] = static_cast<std::int32_t>(y);
  }
  return points;
}
