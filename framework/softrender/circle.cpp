// MemImgDrawCircle: the clip, the tinted colour and, for a filled circle,
// the mark of each row drawn, then the walk of the mode.
#include <vector>

#include "softrender/colour_shape_job.h"
#include "softrender/colour_shapes.h"

void MemImgDrawCircle(MEMIMG* dst, std::int32_t x, std::int32_t y, std::int32_t radius, std::uint32_t colour,
                      std::uint32_t fill) {
  if (radius < 0 || !CanFillColour(dst)) return;
  ColourShapeJob job{};
  job.x = x;
  job.y = y;
  job.radius = radius;
  // The walk emits nothing outside the circle's bounding box, so the clip
  // is the box's part inside the draw area and the destination; a circle
  // that misses it skips its walk.
  job.box = ClipToDrawArea(dst, job.x - job.radius, job.y - job.radius, job.x + job.radius + 1,
                           job.y + job.radius + 1);
  if (job.box.Empty()) return;
  const ColourShapeLoopFn loop =
      fill != 0 ? PickColourShapeLoop<FilledCircleKernel>(dst) : PickColourShapeLoop<CircleOutlineKernel>(dst);
  if (loop == nullptr) return;
  StartColourShapeJob(dst, colour, job);
  std::vector<std::uint8_t> rowDone;
  if (fill != 0) {
    rowDone.assign(static_cast<std::size_t>(job.box.Height()), 0);
    job.rowDone = rowDone.data();
  }
  loop(job);
}
