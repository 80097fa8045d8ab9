// The rotated blit: refusals, the box and its inverse mapping, the row
// tables and the pick of the pixel loop.
#include "softrender/rotate_blit.h"

#include <array>
#include <vector>

#include "softrender/blit_dispatch.h"
#include "softrender/rotate_loops.h"
#include "softrender/rotate_mapping.h"
#include "softrender/triangle.h"

namespace {

// The first pixel of each row of an image, in storage of the call's own:
// inline for the heights of sprites, on the heap beyond.
class RowTable {
 public:
  RowTable(const MEMIMG* image, int rows) {
    const std::uint8_t** rowsOut = inline_.data();
    if (rows > static_cast<int>(inline_.size())) {
      heap_.resize(static_cast<std::size_t>(rows));
      rowsOut = heap_.data();
    }
    for (int row = 0; row < rows; ++row)
      rowsOut[row] = image->pixels + static_cast<std::ptrdiff_t>(row) * image->data->pitch;
    rows_ = rowsOut;
  }
  const std::uint8_t* const* Rows() const { return rows_; }

 private:
  std::array<const std::uint8_t*, 128> inline_;
  std::vector<const std::uint8_t*> heap_;
  const std::uint8_t* const* rows_ = nullptr;
};

}  // namespace

void MemImgRotateBlit(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent,
                      int turn, const MEMIMG* blend) {
  if (!CanDrawImage(dst, src, blend)) return;
  if (src->width <= 0 || src->height <= 0) return;  // no position falls inside
  const std::optional<RotationSetUp> setUp = SetUpRotation(angle, scale, src->width, src->height);
  if (!setUp) return;
  const std::optional<TurnedCorners> corners = TurnCorners(*setUp, x, y);
  if (!corners) return;
  if (turn != 0) {
    // The quad drawing maps its points to the source's top-left, top-right,
    // bottom-left and bottom-right: handed the turned image's top-right
    // corner first, it mirrors the image left to right.
    if (const std::optional<QuadPoints> points = MirroredQuadPoints(*corners))
      MemImgDrawQuad(dst, src, points->xy, transparent, blend);
    return;
  }

  const WideBox wide = CoveringBox(*corners);
  const DrawBox box = ClipToDrawArea(dst, wide.left, wide.top, wide.right, wide.bottom);
  const std::optional<InverseMapping> mapping = MapBox(*setUp, x, y, box);
  if (!mapping) return;
  const std::optional<std::size_t> combo = PickBlitCombo(src, blend != nullptr, transparent);
  if (!combo) return;
  const RotateLoopFn loop = PickKernelLoop<RotateBlitKernel>(src->data->colorType, src->data->paletteFlag == 1, *combo);
  if (loop == nullptr) return;

  const RowTable sourceRows(src, src->height);
  const RowTable blendRows(blend, blend != nullptr ? src->height : 0);
  RotateJob job{};
  job.sourceRows = sourceRows.Rows();
  job.blendRows = blend != nullptr ? blendRows.Rows() : nullptr;
  job.destinationPitch = dst->data->pitch;
  job.destination = dst->pixels + box.top * job.destinationPitch +
                    static_cast<std::ptrdiff_t>(box.left) * MemImgBytesPerPixel(dst);
  job.width = box.Width();
  job.height = box.Height();
  job.u0 = mapping->u0;
  job.v0 = mapping->v0;
  job.stepU = mapping->stepU;
  job.stepV = mapping->stepV;
  job.rowU = mapping->rowU;
  job.rowV = mapping->rowV;
  job.uLimit = src->width * kFixedOne;
  job.vLimit = src->height * kFixedOne;
  job.pixel = MakePixelContext(src);
  loop(job);
}
