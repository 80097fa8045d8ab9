// Bitmaps: DIB sections with bits the program writes directly, and the 1 x 1
// monochrome stock bitmap a fresh memory DC holds.
#pragma once

#include <cstdint>
#include <memory>

#include "gdi32/dib_layout.h"
#include "gdi32/gdi_object.h"

namespace wqplat {

class BitmapObject : public GdiObject {
 public:
  // Zero-filled bits in the given layout; is_dib_section decides whether
  // the program sees the bits and the DIBSECTION description.
  BitmapObject(DibLayout layout, const BITMAPINFOHEADER& header, bool is_dib_section);

  int Describe(int size, void* buffer) const override;

  const DibLayout& layout() const { return layout_; }
  std::uint8_t* bits() const { return bits_.get(); }
  // The stored bytes of image row y, counted from the top.
  std::uint8_t* Row(int y) const {
    return bits_.get() + static_cast<std::size_t>(layout_.ScanOfRow(y)) * layout_.stride;
  }

 private:
  DibLayout layout_;
  BITMAPINFOHEADER header_;
  bool is_dib_section_;
  std::unique_ptr<std::uint8_t[]> bits_;
};

// The monochrome 1 x 1 bitmap of a fresh memory DC.
std::shared_ptr<BitmapObject> CreateStockBitmap();

}  // namespace wqplat
