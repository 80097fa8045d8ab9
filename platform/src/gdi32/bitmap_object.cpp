#include "gdi32/bitmap_object.h"

#include <cstring>

namespace wqplat {

BitmapObject::BitmapObject(DibLayout layout, const BITMAPINFOHEADER& header, bool is_dib_section)
    : layout_(std::move(layout)),
      header_(header),
      is_dib_section_(is_dib_section),
      bits_(new std::uint8_t[layout_.ImageBytes()]()) {}

int BitmapObject::Describe(int size, void* buffer) const {
  BITMAP bitmap{};
  bitmap.bmWidth = layout_.width;
  bitmap.bmHeight = layout_.height;
  bitmap.bmWidthBytes = static_cast<LONG>(layout_.stride);
  bitmap.bmPlanes = 1;
  bitmap.bmBitsPixel = static_cast<WORD>(layout_.bits_per_pixel);
  bitmap.bmBits = is_dib_section_ ? bits_.get() : nullptr;

  const bool wants_section = is_dib_section_ && size >= static_cast<int>(sizeof(DIBSECTION));
  if (!buffer) return is_dib_section_ ? sizeof(DIBSECTION) : sizeof(BITMAP);
  if (wants_section) {
    DIBSECTION section{};
    section.dsBm = bitmap;
    section.dsBmih = header_;
    section.dsBmih.biSizeImage = static_cast<DWORD>(layout_.ImageBytes());
    section.dsBitfields[0] = layout_.masks.red;
    section.dsBitfields[1] = layout_.masks.green;
    section.dsBitfields[2] = layout_.masks.blue;
    std::memcpy(buffer, &section, sizeof(section));
    return sizeof(DIBSECTION);
  }
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  std::memcpy(buffer, &bitmap, sizeof(bitmap));
  return sizeof(BITMAP);
}

std::shared_ptr<BitmapObject> CreateStockBitmap() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = 1;
  header.biHeight = 1;
  header.biPlanes = 1;
  header.biBitCount = 1;
  DibLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bits_per_pixel = 1;
  layout.stride = 2;  // device bitmaps pad rows to 16 bits
  layout.palette = {0x000000, 0xFFFFFF};
  return std::make_shared<BitmapObject>(std::move(layout), header, false);
}

}  // namespace wqplat
