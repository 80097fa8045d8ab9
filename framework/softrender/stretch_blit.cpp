// The stretched blit: normalises and clips the rectangle, continues the
// unclipped sampling sequence at the clipped edge, and picks the loop. A
// same-size unmirrored rectangle is an image blit. Sizes are worked in 64
// bits: a rectangle of any extent is either drawn right or refused.
#include <algorithm>
#include <vector>

#include "softrender/blit_dispatch.h"
#include "softrender/draw_clip.h"
#include "softrender/image_blit.h"
#include "softrender/kernel_loops.h"

namespace {

// The sampling of one axis: the first source index and the error term it
// starts with, for a draw clipped `skipped` pixels in from its start edge.
struct AxisStart {
  std::int64_t ratio;
  std::int64_t index;
  std::int64_t error;
};

AxisStart StartAxis(std::int64_t extent, int sourceExtent, std::int64_t skipped) {
  AxisStart axis{};
  axis.ratio = (extent << 16) / sourceExtent;
  if (axis.ratio == 0) return axis;
  axis.index = (skipped << 16) / axis.ratio;
  axis.error = axis.ratio - (skipped << 16) % axis.ratio;
  return axis;
}

// The index of the last sampled source pixel, which must lie in the source.
bool SamplesInside(const AxisStart& axis, std::int64_t lastDrawn, int sourceExtent) {
  return axis.ratio > 0 && (lastDrawn << 16) / axis.ratio < sourceExtent;
}

// The source column of each drawn column, as steps from the first one: the
// error starts at its clipped value and loses one pixel (0x10000) per
// column; each time it drops to 0 or below, the source moves on a pixel and
// the error gains the ratio. The buffer is reused from call to call.
const std::int32_t* ColumnSteps(const AxisStart& across, int width) {
  thread_local std::vector<std::int32_t> steps;
  steps.resize(static_cast<std::size_t>(width));
  std::int64_t error = across.error;
  std::int32_t step = 0;
  for (int x = 0; x < width; ++x) {
    if (x > 0)
      for (error -= 0x10000; error <= 0; error += across.ratio) ++step;
    steps[x] = step;
  }
  return steps.data();
}

}  // namespace

void MemImgStretchBlit(MEMIMG* dst, const MEMIMG* src, const RECT* corners, int transparent, const MEMIMG* blend) {
  if (!CanDrawImage(dst, src, blend)) return;
  const bool mirrorX = corners->left > corners->right;
  const bool mirrorY = corners->top > corners->bottom;
  const std::int64_t left = std::min(corners->left, corners->right);
  const std::int64_t right = std::max(corners->left, corners->right);
  const std::int64_t top = std::min(corners->top, corners->bottom);
  const std::int64_t bottom = std::max(corners->top, corners->bottom);
  const std::int64_t width = right - left;
  const std::int64_t height = bottom - top;
  if (width == 0 || height == 0) return;
  if (width == src->width && height == src->height && !mirrorX && !mirrorY) {
    MemImgBlit(dst, src, static_cast<int>(left), static_cast<int>(top), transparent, blend);
    return;
  }
  if (src->width <= 0 || src->height <= 0) return;

  const DrawBox box = ClipToDrawArea(dst, left, top, right, bottom);
  if (box.Empty()) return;
  const AxisStart across = StartAxis(width, src->width, box.left - left);
  const AxisStart down = StartAxis(height, src->height, box.top - top);
  if (!SamplesInside(across, box.right - 1 - left, src->width) ||
      !SamplesInside(down, box.bottom - 1 - top, src->height))
    return;
  const std::optional<std::size_t> combo = PickBlitCombo(src, blend != nullptr, transparent);
  if (!combo) return;
  const StretchLoopFn loop =
      PickKernelLoop<StretchBlitKernel>(src->data->colorType, src->data->paletteFlag == 1, *combo);
  if (loop == nullptr) return;

  // A mirrored axis starts at the far edge of the source and walks back.
  const std::int64_t column = mirrorX ? src->width - across.index - 1 : across.index;
  const std::int64_t row = mirrorY ? src->height - down.index - 1 : down.index;
  const int sourceBytes = MemImgBytesPerPixel(src);
  StretchJob job{};
  job.source = src->pixels + row * src->data->pitch + column * sourceBytes;
  job.sourcePixelStep = mirrorX ? -sourceBytes : sourceBytes;
  job.sourceRowStep = mirrorY ? -src->data->pitch : src->data->pitch;
  if (blend != nullptr) {
    job.blend = blend->pixels + row * blend->data->pitch + column;
    job.blendPixelStep = mirrorX ? -1 : 1;
    job.blendRowStep = mirrorY ? -blend->data->pitch : blend->data->pitch;
  }
  job.destinationPitch = dst->data->pitch;
  job.destination = dst->pixels + box.top * job.destinationPitch +
                    static_cast<std::ptrdiff_t>(box.left) * MemImgBytesPerPixel(dst);
  job.width = box.Width();
  job.height = box.Height();
  job.columnSteps = ColumnSteps(across, job.width);
  job.yRatio = down.ratio;
  job.yErrorStart = down.error;
  job.pixel = MakePixelContext(src);
  loop(job);
}
