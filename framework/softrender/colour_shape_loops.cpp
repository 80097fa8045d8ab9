// The loops of the rectangle fill and the circles, one per drawn mode and
// destination colour type, each pixel drawn by the flat triangle's colour
// operation. The circles walk the integer midpoint circle: px grows by one
// per step, py drops by one on the steps whose decision value is 0 or more.
#include <algorithm>

#include "softrender/colour_shape_job.h"
#include "softrender/loop_table.h"
#include "softrender/pixel_ops.h"

namespace {

// Calls step(px, py, pyDrops) for every step of the walk of the given
// radius, the first with px = 0, until py falls below px; pyDrops says that
// the step's decision value was 0 or more, so py drops after it. 64-bit, so that no radius
// overflows its decision value.
template <class Step>
inline void WalkCircle(std::int64_t radius, Step step) {
  std::int64_t px = 0, py = radius, dv = 3 - 2 * radius;
  while (py >= px) {
    step(px, py, dv >= 0);
    if (dv >= 0) {
      dv += 4 * (px - py) + 10;
      --py;
    } else {
      dv += 4 * px + 6;
    }
    ++px;
  }
}

inline std::uint8_t* PixelAt(const ColourShapeJob& job, std::int64_t column, std::int64_t row, int bytes) {
  return job.destination + static_cast<std::ptrdiff_t>(row) * job.pitch + static_cast<std::ptrdiff_t>(column) * bytes;
}

}  // namespace

template <class Px>
template <Combo C>
void RectFillKernel<Px>::Loop(const ColourShapeJob& job) {
  for (int row = job.box.top; row < job.box.bottom; ++row) {
    std::uint8_t* dp = PixelAt(job, job.box.left, row, Px::kBytes);
    for (int i = job.box.left; i < job.box.right; ++i, dp += Px::kBytes)
      DrawFlatColour<Px, C.mode>(dp, job.colour, job.pixel);
  }
}

// Each row is drawn by the first span that reaches it, which is its widest,
// and then marked, so that no pixel is blended twice.
template <class Px>
template <Combo C>
void FilledCircleKernel<Px>::Loop(const ColourShapeJob& job) {
  const DrawBox& clip = job.box;
  auto span = [&job, &clip](std::int64_t row, std::int64_t x0, std::int64_t x1) {
    if (row < clip.top || row >= clip.bottom || x1 < clip.left || x0 >= clip.right) return;
    std::uint8_t& done = job.rowDone[row - clip.top];
    if (done) return;
    done = 1;
    const std::int64_t first = std::max<std::int64_t>(x0, clip.left);
    const std::int64_t last = std::min<std::int64_t>(x1, clip.right - 1);
    std::uint8_t* dp = PixelAt(job, first, row, Px::kBytes);
    for (std::int64_t x = first; x <= last; ++x, dp += Px::kBytes)
      DrawFlatColour<Px, C.mode>(dp, job.colour, job.pixel);
  };
  WalkCircle(job.radius, [&](std::int64_t px, std::int64_t py, bool pyDrops) {
    span(job.y + px, job.x - py, job.x + py);
    span(job.y - px, job.x - py, job.x + py);
    if (pyDrops) {
      span(job.y + py, job.x - px, job.x + px);
      span(job.y - py, job.x - px, job.x + px);
    }
  });
}

// Every emitted point is drawn at once, also when an earlier point of the
// walk was the same pixel.
template <class Px>
template <Combo C>
void CircleOutlineKernel<Px>::Loop(const ColourShapeJob& job) {
  const DrawBox& clip = job.box;
  auto point = [&job, &clip](std::int64_t column, std::int64_t row) {
    if (column < clip.left || column >= clip.right || row < clip.top || row >= clip.bottom) return;
    DrawFlatColour<Px, C.mode>(PixelAt(job, column, row, Px::kBytes), job.colour, job.pixel);
  };
  const std::int64_t x = job.x, y = job.y;
  WalkCircle(job.radius, [&](std::int64_t px, std::int64_t py, bool) {
    if (px == 0) {
      point(x - py, y);
      point(x + py, y);
      point(x, y + py);
      point(x, y - py);
      return;
    }
    point(x - py, y + px);
    point(x + py, y + px);
    point(x - py, y - px);
    point(x + py, y - px);
    point(x - px, y + py);
    point(x + px, y + py);
    point(x - px, y - py);
    point(x + px, y - py);
  });
}

template ColourShapeLoopFn PickLoop<RectFillKernel<Rgb32>>(std::size_t);
template ColourShapeLoopFn PickLoop<RectFillKernel<Rgb565>>(std::size_t);
template ColourShapeLoopFn PickLoop<FilledCircleKernel<Rgb32>>(std::size_t);
template ColourShapeLoopFn PickLoop<FilledCircleKernel<Rgb565>>(std::size_t);
template ColourShapeLoopFn PickLoop<CircleOutlineKernel<Rgb32>>(std::size_t);
template ColourShapeLoopFn PickLoop<CircleOutlineKernel<Rgb565>>(std::size_t);
