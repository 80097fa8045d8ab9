// Derives a colour format's widths and shifts from its channel masks.
#include <bit>

#include "image/color_format.h"

namespace {

// Shift = lowest set bit, width = length of the run of ones from there.
void DescribeMask(std::uint32_t mask, std::uint8_t* shift, std::uint8_t* width) {
  if (mask == 0) {
    *shift = 0;
    *width = 0;
    return;
  }
  const int low = std::countr_zero(mask);
  *shift = static_cast<std::uint8_t>(low);
  *width = static_cast<std::uint8_t>(std::countr_one(mask >> low));
}

}  // namespace

int MakeColorFormatFromMasks(ColorFormat* format, int colorBits, std::uint32_t redMask, std::uint32_t greenMask,
                             std::uint32_t blueMask, std::uint32_t alphaMask) {
  format->colorBits = static_cast<std::uint16_t>(colorBits);
  format->bytesPerPixel = static_cast<std::uint16_t>(colorBits / 8);
  format->compressedKind = 0;
  format->redMask = redMask;
  format->greenMask = greenMask;
  format->blueMask = blueMask;
  format->alphaMask = alphaMask;
  const std::uint32_t allBits = colorBits >= 32 ? 0xFFFFFFFFu : (1u << colorBits) - 1u;
  format->unusedMask = allBits & ~(redMask | greenMask | blueMask | alphaMask);
  DescribeMask(redMask, &format->redShift, &format->redWidth);
  DescribeMask(greenMask, &format->greenShift, &format->greenWidth);
  DescribeMask(blueMask, &format->blueShift, &format->blueWidth);
  DescribeMask(alphaMask, &format->alphaShift, &format->alphaWidth);
  DescribeMask(format->unusedMask, &format->unusedShift, &format->unusedWidth);
  return 0;
}
