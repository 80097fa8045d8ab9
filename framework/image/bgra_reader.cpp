// The framework's raw "BGRA" image format: a 16-byte header, then rows of
// blue, green, red, alpha with 8 or 16 bits per channel.
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/image_reader.h"

namespace {

constexpr std::uint32_t kEightBitChannels = 0x08080808;
constexpr std::uint32_t kSixteenBitChannels = 0x10101010;
// The same cap on each side as the TGA reader's.
constexpr std::int64_t kMaxBgraSide = 8192;

// Keeps the high byte of each 16-bit channel.
bool ReadWideRows(StreamSource* source, std::uint8_t* pixels, std::int64_t width, std::int64_t height) {
  std::int64_t rowBytes = width * 8;
  auto* row = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(rowBytes));
  if (!row) return false;
  bool complete = true;
  for (std::int64_t y = 0; y < height && complete; ++y) {
    complete = ReadStreamBytes(source, row, static_cast<std::size_t>(rowBytes));
    std::uint8_t* out = pixels + y * width * 4;
    for (std::int64_t i = 0; complete && i < width * 4; ++i) out[i] = row[i * 2 + 1];
  }
  TrackedFree(row);
  return complete;
}

}  // namespace

int ReadBgraImage(StreamSource* source, BaseImage* image) {
  std::uint8_t header[16];
  if (!ReadStreamBytes(source, header, sizeof(header)) || std::memcmp(header, "BGRA", 4) != 0) return -1;
  std::uint32_t channelSize = LoadLe32(header + 4);
  if (channelSize != kEightBitChannels && channelSize != kSixteenBitChannels) return -1;
  auto width = static_cast<std::int32_t>(LoadLe32(header + 8));
  auto height = static_cast<std::int32_t>(LoadLe32(header + 12));
  if (width > kMaxBgraSide || height > kMaxBgraSide) return -1;
  std::int64_t bytes = ImageByteCount(width, height, 4);
  if (bytes < 0) return -1;
  std::int64_t fileBytes = channelSize == kEightBitChannels ? bytes : bytes * 2;
  if (StreamBytesLeft(source) < fileBytes) return -1;
  auto* pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(bytes));
  if (!pixels) return -1;
  bool complete = channelSize == kEightBitChannels ? ReadStreamBytes(source, pixels, static_cast<std::size_t>(bytes))
                                                   : ReadWideRows(source, pixels, width, height);
  if (!complete) {
    TrackedFree(pixels);
    return -1;
  }
  MakeColorFormatRgb24(&image->format);
  image->format.bits = 32;
  image->format.bytesPerPixel = 4;
  image->format.alphaMask = 0xFF000000;
  image->format.alphaShift = 24;
  image->format.alphaWidth = 8;
  image->width = width;
  image->height = height;
  image->pitch = static_cast<std::uint32_t>(width) * 4;
  image->pixels = pixels;
  return 0;
}
