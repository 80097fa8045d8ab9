// Writing a test's picture as PNG for review: 8-bit grey (1 channel) or
// RGB (3 channels), rows top to bottom. Header-only, so that only the
// suites that write pictures link libpng.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>

namespace wqtest {

// false when the file cannot be written.
inline bool WritePng(const std::string& path, int width, int height, int channels, const std::uint8_t* pixels) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, channels == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, const_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * width * channels));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return true;
}

}  // namespace wqtest
