// Single-pixel access and the in-place mirror and half turn of base images.
#include <utility>

#include "image/base_image.h"
#include "image/color_format.h"

namespace {

bool InsideImage(const BaseImage* image, int x, int y) {
  return static_cast<unsigned>(x) < static_cast<unsigned>(image->width) &&
         static_cast<unsigned>(y) < static_cast<unsigned>(image->height);
}

std::uint8_t* PixelAddress(const BaseImage* image, int x, int y) {
  return ImageRow(image, y) + static_cast<std::size_t>(x) * image->format.bytesPerPixel;
}

void SwapPixels(std::uint8_t* a, std::uint8_t* b, int bytes) {
  for (int i = 0; i < bytes; ++i) std::swap(a[i], b[i]);
}

bool HasPlainPixels(const BaseImage* image) {
  return image->pixels && image->format.bytesPerPixel >= 1 && image->format.bytesPerPixel <= 4;
}

}  // namespace

int SetBaseImagePixel(BaseImage* image, int x, int y, int red, int green, int blue, int alpha) {
  if (DecompressBaseImage(image) != 0) return -1;
  if (!InsideImage(image, x, y)) return -1;
  if (!HasPlainPixels(image)) return 0;
  std::uint32_t value = EncodeFormatPixel(&image->format, red, green, blue, alpha);
  WritePixelValue(PixelAddress(image, x, y), image->format.bytesPerPixel, value);
  return 0;
}

int GetBaseImagePixel(BaseImage* image, int x, int y, int* red, int* green, int* blue, int* alpha) {
  if (DecompressBaseImage(image) != 0) return -1;
  if (!InsideImage(image, x, y)) return -1;
  if (!HasPlainPixels(image)) return 0;
  const std::uint8_t* pixel = PixelAddress(image, x, y);
  if (image->format.bytesPerPixel == 1) {
    const ColorPaletteEntry& entry = image->format.palette[pixel[0]];
    if (red) *red = entry.red;
    if (green) *green = entry.green;
    if (blue) *blue = entry.blue;
    if (alpha) *alpha = entry.reserved;
    return 0;
  }
  return DecodeFormatPixel(&image->format, ReadPixelValue(pixel, image->format.bytesPerPixel), red, green, blue, alpha);
}

// Channels wider than 8 bits keep their top 8 bits.
std::uint32_t GetBaseImagePixelArgb(const BaseImage* image, int x, int y) {
  const ColorFormat& format = image->format;
  if (!image->pixels || format.compressedKind != 0 || format.bytesPerPixel < 2 || format.bytesPerPixel > 4 ||
      !InsideImage(image, x, y)) {
    return 0;
  }
  std::uint32_t value = ReadPixelValue(PixelAddress(image, x, y), format.bytesPerPixel);
  auto place = [value](std::uint32_t mask, int shift, int width, int top) -> std::uint32_t {
    if (width == 0) return 0;
    std::uint32_t raw = (value & mask) >> shift;
    return width <= 8 ? raw << (top - width) : (raw >> (width - 8)) << (top - 8);
  };
  return place(format.redMask, format.redShift, format.redWidth, 24) |
         place(format.greenMask, format.greenShift, format.greenWidth, 16) |
         place(format.blueMask, format.blueShift, format.blueWidth, 8) |
         place(format.alphaMask, format.alphaShift, format.alphaWidth, 32);
}

int MirrorBaseImage(BaseImage* image) {
  if (image->width == 0 || image->height == 0) return -1;
  if (!HasPlainPixels(image) || image->format.compressedKind != 0) return 0;
  int bytes = image->format.bytesPerPixel;
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width / 2; ++x) {
      SwapPixels(PixelAddress(image, x, y), PixelAddress(image, image->width - 1 - x, y), bytes);
    }
  }
  return 0;
}

// The middle row of an odd height is reversed as well, so the whole image
// turns (a half turn maps (x, y) to (w - 1 - x, h - 1 - y) for every row).
int RotateBaseImage180(BaseImage* image) {
  if (image->format.compressedKind != 0) return -1;
  if (!HasPlainPixels(image)) return 0;
  int bytes = image->format.bytesPerPixel;
  int w = image->width, h = image->height;
  for (int y = 0; y < h / 2; ++y) {
    for (int x = 0; x < w; ++x) SwapPixels(PixelAddress(image, x, y), PixelAddress(image, w - 1 - x, h - 1 - y), bytes);
  }
  if (h % 2 == 1) {
    for (int x = 0; x < w / 2; ++x)
      SwapPixels(PixelAddress(image, x, h / 2), PixelAddress(image, w - 1 - x, h / 2), bytes);
  }
  return 0;
}
