// Handing a base image over as a top-down device-independent bitmap.
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/image_load.h"
#include "image/pixel_convert.h"

namespace {

void SetDibHeader(BITMAPINFO* info, const BaseImage* image, int bits) {
  std::memset(&info->bmiHeader, 0, sizeof(info->bmiHeader));
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = image->width;
  info->bmiHeader.biHeight = -image->height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = static_cast<WORD>(bits);
  info->bmiHeader.biCompression = BI_RGB;
}

// Rows of `rowBytes` copied from the image into a new block of
// `dibRowBytes`-byte rows.
int CopyRows(const BaseImage* image, std::uint32_t dibRowBytes, std::uint32_t rowBytes, void** bits) {
  auto* block =
      static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(dibRowBytes) * image->height));
  if (!block) return -1;
  for (int y = 0; y < image->height; ++y) {
    std::memcpy(block + static_cast<std::size_t>(y) * dibRowBytes, ImageRow(image, y), rowBytes);
  }
  *bits = block;
  return 1;
}

}  // namespace

int BaseImageToDib(BaseImage* image, BITMAPINFO* info, void** bits, int copyFlag, int force24) {
  const ColorFormat& format = image->format;
  if (format.bytesPerPixel == 1 && !force24) {
    SetDibHeader(info, image, 8);
    std::memcpy(info->bmiColors, format.palette, sizeof(format.palette));
    std::uint32_t rowBytes = (static_cast<std::uint32_t>(image->width) + 3) & ~3u;
    if (copyFlag != 1 && rowBytes == image->pitch) {
      *bits = image->pixels;
      return copyFlag;
    }
    return CopyRows(image, rowBytes, static_cast<std::uint32_t>(image->width), bits);
  }
  SetDibHeader(info, image, 24);
  std::uint32_t rowBytes = (static_cast<std::uint32_t>(image->width) * 3 + 3) & ~3u;
  bool rgb24 = format.bits == 24 && format.redMask == 0xFF0000 && format.greenMask == 0xFF00 && format.blueMask == 0xFF;
  if (rgb24 && copyFlag != 1) {
    if (rowBytes == image->pitch) {
      *bits = image->pixels;
      return copyFlag;
    }
    // Only a row's pixels are copied: a wider pitch would overrun the
    // DIB's shorter rows.
    return CopyRows(image, rowBytes, static_cast<std::uint32_t>(image->width) * 3, bits);
  }
  void* block = ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(rowBytes) * image->height);
  if (!block) return -1;
  ColorFormat rgb{};
  MakeColorFormatRgb24(&rgb);
  RECT whole{0, 0, image->width, image->height};
  ConvertPixelRect(block, rowBytes, &rgb, image->pixels, image->pitch, &image->format, nullptr, 0, nullptr, 0, 0,
                   &whole, 0, 0, 0, 0, 0, 0, 0, 0);
  *bits = block;
  return 1;
}
