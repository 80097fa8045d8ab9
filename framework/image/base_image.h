// Base images: the helpers readers and converters share beside the public
// makers in WqLib.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "WqLib.h"

// The largest side and pixel count an image of ours may have: every size
// product stays far inside 32 bits (and within the tracked allocator's
// u32 block size) even at 4 bytes per pixel.
constexpr std::int64_t kMaxImageSide = 32768;
constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;

// width x height x bytes per pixel, or -1 when a side is not positive or
// the image is past the limits above.
std::int64_t ImageByteCount(std::int64_t width, std::int64_t height, std::int64_t bytesPerPixel);

// A block of the given size from the tracked allocator, or null; also null
// for a negative size.
void* AllocateImageBlock(std::int64_t size, const char* file, int line);
#define ALLOCATE_IMAGE_BLOCK(size) AllocateImageBlock((size), __FILE__, __LINE__)

// Row `y` of an image.
inline std::uint8_t* ImageRow(const BaseImage* image, int y) {
  return static_cast<std::uint8_t*>(image->pixels) + static_cast<std::size_t>(y) * image->pitch;
}
