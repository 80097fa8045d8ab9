// Making and releasing base images.
#include "image/base_image.h"

#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"

std::int64_t ImageByteCount(std::int64_t width, std::int64_t height, std::int64_t bytesPerPixel) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return -1;
  if (width * height > kMaxImagePixels) return -1;
  return width * height * bytesPerPixel;
}

void* AllocateImageBlock(std::int64_t size, const char* file, int line) {
  if (size < 0 || size > 0x7FFFFFFF) return nullptr;
  return TrackedAlloc(static_cast<std::size_t>(size), file, line);
}

namespace {

// Rows rounded to whole 32-bit words, as every image of ours is laid out.
std::uint32_t AlignedPitch(int bytesPerPixel, int width) {
  return static_cast<std::uint32_t>((static_cast<std::int64_t>(bytesPerPixel) * width + 3) & ~std::int64_t{3});
}

int AllocateImagePixels(BaseImage* image, int width, int height, std::uint32_t pitch) {
  image->width = width;
  image->height = height;
  image->pitch = pitch;
  image->mipCount = 0;
  image->pixels = nullptr;
  if (ImageByteCount(width, height, image->format.bytesPerPixel) < 0) return -1;
  image->pixels = ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(pitch) * height);
  return image->pixels ? 0 : -1;
}

}  // namespace

int CreateArgbBaseImage(int width, int height, BaseImage* image) {
  MakeColorFormatArgb32(&image->format);
  return AllocateImagePixels(image, width, height, static_cast<std::uint32_t>(width) * 4);
}

int CreateXrgbBaseImage(int width, int height, BaseImage* image) {
  MakeColorFormatXrgb32(&image->format);
  return AllocateImagePixels(image, width, height, AlignedPitch(image->format.bytesPerPixel, width));
}

int CreateBaseImageSameFormat(int width, int height, const ColorFormat* sourceFormat, BaseImage* image) {
  image->format = *sourceFormat;
  return AllocateImagePixels(image, width, height, AlignedPitch(image->format.bytesPerPixel, width));
}

int ReleaseBaseImage(BaseImage* image) {
  if (image->pixels) TrackedFree(image->pixels);
  std::memset(image, 0, sizeof(*image));
  return 0;
}

// The rectangle is clipped to the image, so a careless caller cannot write
// outside the pixel block.
int ClearBaseImageRect(BaseImage* image, int x, int y, int width, int rows) {
  if (!image->pixels || image->pitch == 0) return 0;
  int right = std::min(x + width, image->width), bottom = std::min(y + rows, image->height);
  x = std::max(x, 0);
  y = std::max(y, 0);
  if (x >= right || y >= bottom) return 0;
  width = right - x;
  int bytes = image->format.bytesPerPixel;
  for (int row = y; row < bottom; ++row) {
    std::memset(ImageRow(image, row) + static_cast<std::size_t>(x) * bytes, 0, static_cast<std::size_t>(width) * bytes);
  }
  return 0;
}
