// MemImgFillRect: orders and clips the rectangle, tints the colour and runs
// the fill loop of the mode.
#include <algorithm>
#include <utility>

#include "softrender/colour_shape_job.h"
#include "softrender/colour_shapes.h"

void MemImgFillRect(MEMIMG* dst, const RECT* rect, std::uint32_t colour) {
  if (!CanFillColour(dst)) return;
  std::int64_t left = 0, top = 0, right = dst->width, bottom = dst->height;
  if (rect != nullptr) {
    left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  ColourShapeJob job{};
  job.box = ClipToDrawArea(dst, left, top, right, bottom);
  if (job.box.Empty()) return;
  const ColourShapeLoopFn loop = PickColourShapeLoop<RectFillKernel>(dst);
  if (loop == nullptr) return;
  StartColourShapeJob(dst, colour, job);
  loop(job);
}
