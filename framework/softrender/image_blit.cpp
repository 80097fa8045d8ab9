// The image blit: refusals, clipping, the run-length choice and the pick
// of the pixel loop.
#include "softrender/image_blit.h"

#include "softrender/blit_dispatch.h"
#include "softrender/draw_clip.h"
#include "softrender/kernel_loops.h"

namespace {

// The stream describes the whole image, so it serves only a header that
// covers all of it, drawn unclipped.
bool TakesRunLengthPath(const MEMIMG* src, const DrawBox& box, int transparent) {
  const MemImgData* data = src->data;
  return transparent == 1 && data->runLengthValid == 1 && data->runLengths != nullptr &&
         box.Width() == src->width && box.Height() == src->height && src->width == data->width &&
         src->height == data->height && src->pixels == data->pixelBuffer;
}

}  // namespace

void MemImgBlit(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blend) {
  if (!CanDrawImage(dst, src, blend)) return;
  const DrawBox box = ClipToDrawArea(dst, x, y, static_cast<std::int64_t>(x) + src->width,
                                     static_cast<std::int64_t>(y) + src->height);
  if (box.Empty()) return;
  const std::optional<std::size_t> combo = PickBlitCombo(src, blend != nullptr, transparent);
  if (!combo) return;
  const bool runLength = TakesRunLengthPath(src, box, transparent);
  const int colorType = src->data->colorType;
  const bool palette = src->data->paletteFlag == 1;
  const BlitLoopFn loop = runLength ? PickKernelLoop<RunLengthKernel>(colorType, palette, *combo)
                                    : PickKernelLoop<ImageBlitKernel>(colorType, palette, *combo);
  if (loop == nullptr) return;

  const std::ptrdiff_t skipX = box.left - static_cast<std::int64_t>(x);
  const std::ptrdiff_t skipY = box.top - static_cast<std::int64_t>(y);
  BlitJob job{};
  job.sourcePitch = src->data->pitch;
  job.source = src->pixels + skipY * job.sourcePitch + skipX * MemImgBytesPerPixel(src);
  job.destinationPitch = dst->data->pitch;
  job.destination = dst->pixels + box.top * job.destinationPitch +
                    static_cast<std::ptrdiff_t>(box.left) * MemImgBytesPerPixel(dst);
  if (blend != nullptr) {
    job.blendPitch = blend->data->pitch;
    job.blend = blend->pixels + skipY * job.blendPitch + skipX;
  }
  job.width = box.Width();
  job.height = box.Height();
  job.runs = src->data->runLengths;
  job.pixel = MakePixelContext(src);
  loop(job);
}
