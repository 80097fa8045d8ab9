// The triangle kernel's set-up: refusals, 14.18 positions, the two vertex
// orders, the texture gradients, the edges, and the pick of the loop.
#include <array>
#include <cstdlib>
#include <limits>

#include "core/base/math_utils.h"
#include "softrender/blit_dispatch.h"
#include "softrender/kernel_loops.h"
#include "softrender/triangle.h"
#include "softrender/triangle_job.h"

namespace {

// Whole coordinates and their differences must fit the 14.18 integer part.
constexpr std::int32_t kCoordinateMin = -8192;
constexpr std::int32_t kCoordinateMax = 8191;

bool InFixedRange(std::int64_t value) { return value >= kCoordinateMin && value <= kCoordinateMax; }

// Texel coordinates matter only to a textured triangle.
bool VerticesInRange(const TriVertex* v, bool textured) {
  for (int i = 0; i < 3; ++i) {
    const TriVertex& a = v[i];
    const TriVertex& b = v[(i + 1) % 3];
    if (!InFixedRange(a.x) || !InFixedRange(a.y) || !InFixedRange(std::int64_t{a.x} - b.x) ||
        !InFixedRange(std::int64_t{a.y} - b.y))
      return false;
    if (textured && (!InFixedRange(a.u) || !InFixedRange(a.v) || !InFixedRange(std::int64_t{a.u} - b.u) ||
                     !InFixedRange(std::int64_t{a.v} - b.v)))
      return false;
  }
  return true;
}

// A vertex in 14.18: destination positions at the pixel's centre, texel
// positions at the texel's corner (left at 0 for a flat triangle, which
// reads no texel).
struct FixedVertex {
  std::int32_t x;
  std::int32_t y;
  std::int32_t u;
  std::int32_t v;
  std::int32_t wholeY;
};

FixedVertex ToFixed(const TriVertex& v, bool textured) {
  return FixedVertex{v.x * kFixedOne + kFixedOne / 2, v.y * kFixedOne + kFixedOne / 2,
                     textured ? v.u * kFixedOne : 0, textured ? v.v * kFixedOne : 0, v.y};
}

// Indices ordered by key with the exchange sort: slots i < j swap when the
// key in i is strictly greater. Not stable: keys (5, 5, 3) give (2, 1, 0).
template <class Key>
std::array<int, 3> SortIndices(Key key) {
  std::array<int, 3> order{0, 1, 2};
  for (int i = 0; i < 2; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (key(order[i]) > key(order[j])) std::swap(order[i], order[j]);
  return order;
}

// The four gradients, as (integer cross term) x 262,144.0 / D truncated;
// false for collinear vertices. The origin is the first vertex in x.
bool SetUpPlane(const FixedVertex* fixed, TriangleJob& job) {
  const std::array<int, 3> byX = SortIndices([fixed](int i) { return fixed[i].x; });
  const FixedVertex& p0 = fixed[byX[0]];
  const FixedVertex& p1 = fixed[byX[1]];
  const FixedVertex& p2 = fixed[byX[2]];
  const std::int64_t dx1 = (p1.x - p0.x) / kFixedOne, dx2 = (p2.x - p0.x) / kFixedOne;
  const std::int64_t dy1 = (p1.y - p0.y) / kFixedOne, dy2 = (p2.y - p0.y) / kFixedOne;
  const std::int64_t du1 = (p1.u - p0.u) / kFixedOne, du2 = (p2.u - p0.u) / kFixedOne;
  const std::int64_t dv1 = (p1.v - p0.v) / kFixedOne, dv2 = (p2.v - p0.v) / kFixedOne;
  const std::int64_t determinant = dy1 * dx2 - dy2 * dx1;
  if (determinant == 0) return false;
  const auto gradient = [determinant](std::int64_t cross) {
    return static_cast<std::uint32_t>(
        DoubleToInt(static_cast<double>(cross) * static_cast<double>(kFixedOne) / static_cast<double>(determinant)));
  };
  job.dudx = gradient(dy1 * du2 - dy2 * du1);
  job.dudy = gradient(du1 * dx2 - dx1 * du2);
  job.dvdx = gradient(dy1 * dv2 - dv1 * dy2);
  job.dvdy = gradient(dv1 * dx2 - dx1 * dv2);
  job.x0 = FixedToWhole(p0.x);
  job.y0 = FixedToWhole(p0.y);
  job.u0 = static_cast<std::uint32_t>(p0.u);
  job.v0 = static_cast<std::uint32_t>(p0.v);
  return true;
}

TriangleEdge Segment(std::int32_t startX, std::int32_t endX, std::int32_t rows) {
  return TriangleEdge{startX, (endX - startX) / rows, rows};
}

// The edges from the y order: a flat top or a flat bottom has one segment
// per side; otherwise the side of the middle vertex turns there, on the
// right one 14.18 unit right of it.
void SetUpEdges(const FixedVertex* fixed, TriangleJob& job) {
  const std::array<int, 3> byY = SortIndices([fixed](int i) { return fixed[i].y; });
  const FixedVertex& top = fixed[byY[0]];
  const FixedVertex& middle = fixed[byY[1]];
  const FixedVertex& bottom = fixed[byY[2]];
  const std::int32_t rows = bottom.wholeY - top.wholeY;
  job.firstRow = FixedToWhole(top.y);
  job.middleRow = FixedToWhole(middle.y);
  job.hasLeftLower = job.hasRightLower = false;
  if (top.wholeY == middle.wholeY) {
    const bool middleLeft = top.x > middle.x;
    job.left = Segment(middleLeft ? middle.x : top.x, bottom.x, rows);
    job.right = Segment(middleLeft ? top.x : middle.x, bottom.x, rows);
  } else if (middle.wholeY == bottom.wholeY) {
    const bool middleRight = middle.x > bottom.x;
    job.left = Segment(top.x, middleRight ? bottom.x : middle.x, rows);
    job.right = Segment(top.x, middleRight ? middle.x : bottom.x, rows);
  } else {
    const std::int32_t upperRows = middle.wholeY - top.wholeY;
    const std::int32_t lowerRows = bottom.wholeY - middle.wholeY;
    const double toMiddle = static_cast<double>(middle.x - top.x) / upperRows;
    const double toBottom = static_cast<double>(bottom.x - top.x) / rows;
    if (toMiddle < toBottom) {
      job.left = Segment(top.x, middle.x, upperRows);
      job.leftLower = Segment(middle.x, bottom.x, lowerRows);
      job.hasLeftLower = true;
      job.right = Segment(top.x, bottom.x, rows);
    } else {
      job.left = Segment(top.x, bottom.x, rows);
      job.right = Segment(top.x, middle.x, upperRows);
      job.rightLower = Segment(middle.x + 1, bottom.x, lowerRows);
      job.hasRightLower = true;
    }
  }
}

// The flat colour after its tint, made once per call through the tint rows
// (a white DrawBright changes nothing). An RGB565 colour is taken as its
// low 16 bits, so that no field indexes past its table row.
std::uint32_t TintFlatColour(std::uint32_t colour, bool rgb565, const PixelContext& c) {
  if (rgb565) {
    const std::uint32_t red = (colour >> 11) & 0x1F, green = (colour >> 5) & 0x3F, blue = colour & 0x1F;
    return c.tintRed[red] << 11 | c.tintGreen[green] << 5 | c.tintBlue[blue];
  }
  return (colour & 0xFF000000u) | c.tintRed[(colour >> 16) & 0xFF] << 16 | c.tintGreen[(colour >> 8) & 0xFF] << 8 |
         c.tintBlue[colour & 0xFF];
}

TriangleLoopFn PickTexturedLoop(const MEMIMG* src, const MEMIMG* blend, int transparent) {
  const std::optional<std::size_t> combo = PickBlitCombo(src, blend != nullptr, transparent);
  if (!combo) return nullptr;
  return PickKernelLoop<TriangleKernel>(src->data->colorType, src->data->paletteFlag == 1, *combo);
}

TriangleLoopFn PickFlatLoop(int colorType) {
  const std::optional<std::size_t> combo = PickFlatCombo();
  if (!combo) return nullptr;
  if (colorType == kMemImgRgb32) return PickLoop<FlatTriangleKernel<Rgb32>>(*combo);
  if (colorType == kMemImgRgb565) return PickLoop<FlatTriangleKernel<Rgb565>>(*combo);
  return nullptr;
}

void SetUpTexture(const MEMIMG* src, const MEMIMG* blend, TriangleJob& job) {
  job.source = src->pixels;
  job.sourcePitch = src->data->pitch;
  if (blend != nullptr) {
    job.blend = blend->pixels;
    job.blendPitch = blend->data->pitch;
  }
  job.limitU = static_cast<std::uint32_t>(src->width) << 18;
  job.limitV = static_cast<std::uint32_t>(src->height) << 18;
}

}  // namespace

void MemImgDrawTriangle(MEMIMG* dst, const MEMIMG* src, const TriVertex* vertices, int transparent,
                        const MEMIMG* blend, std::uint32_t colour) {
  if (src != nullptr ? !CanDrawImage(dst, src, blend) : dst->data->paletteFlag == 1 || dst->data->alphaFlag == 1)
    return;
  if (!VerticesInRange(vertices, src != nullptr)) return;
  FixedVertex fixed[3];
  for (int i = 0; i < 3; ++i) fixed[i] = ToFixed(vertices[i], src != nullptr);
  TriangleJob job{};
  if (!SetUpPlane(fixed, job)) return;
  SetUpEdges(fixed, job);

  const TriangleLoopFn loop =
      src != nullptr ? PickTexturedLoop(src, blend, transparent) : PickFlatLoop(dst->data->colorType);
  if (loop == nullptr) return;
  constexpr std::int64_t kUnbounded = std::numeric_limits<std::int32_t>::max();
  job.clip = ClipToDrawArea(dst, -kUnbounded, -kUnbounded, kUnbounded, kUnbounded);
  if (job.clip.Empty()) return;
  job.destination = dst->pixels;
  job.destinationPitch = dst->data->pitch;
  job.pixel = MakePixelContext(src);
  if (src != nullptr) SetUpTexture(src, blend, job);
  else job.colour = TintFlatColour(colour, dst->data->colorType == kMemImgRgb565, job.pixel);
  loop(job);
}
