// Filling a rectangle of a software image with one raw pixel value.
#include <algorithm>
#include <cstring>

#include "image/memimg.h"

namespace {

template <typename Pixel>
void FillRows(std::uint8_t* first, int pitch, int width, int height, Pixel value) {
  for (int row = 0; row < height; ++row) {
    std::uint8_t* out = first + static_cast<std::ptrdiff_t>(row) * pitch;
    for (int x = 0; x < width; ++x)
      std::memcpy(out + static_cast<std::size_t>(x) * sizeof(Pixel), &value, sizeof(Pixel));
  }
}

}  // namespace

void FillMemImgRect(MEMIMG* header, const RECT* rect, std::uint32_t pixelValue) {
  if (!IsMemImgInUse(header)) return;
  RECT area = rect ? *rect : RECT{0, 0, header->width, header->height};
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, header->width);
  area.bottom = std::min<LONG>(area.bottom, header->height);
  if (area.left >= area.right || area.top >= area.bottom) return;

  const int bytesPerPixel = MemImgBytesPerPixel(header);
  const int pitch = header->data->pitch;
  std::uint8_t* first = header->pixels + static_cast<std::ptrdiff_t>(area.top) * pitch +
                        static_cast<std::ptrdiff_t>(area.left) * bytesPerPixel;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  switch (bytesPerPixel) {
    case 1:
      FillRows(first, pitch, width, height, static_cast<std::uint8_t>(pixelValue));
      break;
    case 2:
      FillRows(first, pitch, width, height, static_cast<std::uint16_t>(pixelValue));
      break;
    case 4:
      FillRows(first, pitch, width, height, pixelValue);
      break;
    default:
      break;
  }
}
