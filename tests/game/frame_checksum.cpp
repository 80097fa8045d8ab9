#include "game/frame_checksum.h"

#include <png.h>

#include <cstring>

namespace gametest {

std::optional<std::vector<std::uint8_t>> FramePixels(const std::filesystem::path& png, int width, int height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, png.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  if (static_cast<int>(image.width) != width || static_cast<int>(image.height) != height) {
    png_image_free(&image);
    return std::nullopt;
  }
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return std::nullopt;
  return pixels;
}

std::optional<std::uint64_t> FrameChecksum(const std::filesystem::path& png, int width, int height) {
  const auto pixels = FramePixels(png, width, height);
  if (!pixels) return std::nullopt;
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (std::uint8_t byte : *pixels) hash = (hash ^ byte) * 0x100000001b3ull;
  return hash;
}

}  // namespace gametest
