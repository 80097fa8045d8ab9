// A 24-bit BMP file made in memory for graph tests: pixel (x, y) is
// color(x, y) as 0xRRGGBB.
#pragma once

#include <cstdint>
#include <string>

namespace wqtest {

inline void PutLe(std::string* out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

template <typename Color>
std::string Bmp24(int width, int height, Color color) {
  const int pitch = (width * 3 + 3) & ~3;
  std::string out = "BM";
  PutLe(&out, 54 + pitch * height, 4);
  PutLe(&out, 0, 4);
  PutLe(&out, 54, 4);
  PutLe(&out, 40, 4);
  PutLe(&out, width, 4);
  PutLe(&out, height, 4);
  PutLe(&out, 1, 2);
  PutLe(&out, 24, 2);
  for (int i = 0; i < 6; ++i) PutLe(&out, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) PutLe(&out, color(x, y), 3);
    out.append(pitch - width * 3, '\0');
  }
  return out;
}

}  // namespace wqtest
