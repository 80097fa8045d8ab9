// Clips a destination rectangle to the draw area and the destination.
#include "softrender/draw_clip.h"

#include <algorithm>

#include "graphics/render_state.h"

DrawBox ClipToDrawArea(const MEMIMG* dst, std::int64_t left, std::int64_t top, std::int64_t right,
                       std::int64_t bottom) {
  const std::int64_t clipLeft = std::max<std::int64_t>(DrawArea.left, 0);
  const std::int64_t clipTop = std::max<std::int64_t>(DrawArea.top, 0);
  const std::int64_t clipRight = std::max(clipLeft, std::min<std::int64_t>(DrawArea.right, dst->width));
  const std::int64_t clipBottom = std::max(clipTop, std::min<std::int64_t>(DrawArea.bottom, dst->height));
  DrawBox box;
  box.left = static_cast<int>(std::clamp(left, clipLeft, clipRight));
  box.right = static_cast<int>(std::clamp(right, clipLeft, clipRight));
  box.top = static_cast<int>(std::clamp(top, clipTop, clipBottom));
  box.bottom = static_cast<int>(std::clamp(bottom, clipTop, clipBottom));
  return box;
}

bool CanDrawImage(const MEMIMG* dst, const MEMIMG* src, const MEMIMG* blend) {
  if (blend != nullptr &&
      (MemImgBytesPerPixel(blend) != 1 || blend->width < src->width || blend->height < src->height))
    return false;
  return src->data->colorType == dst->data->colorType && dst->data->paletteFlag != 1 && dst->data->alphaFlag != 1;
}
