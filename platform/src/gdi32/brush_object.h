// A solid brush, or the hollow brush that paints nothing.
#pragma once

#include <cstdint>

#include "gdi32/gdi_object.h"

namespace wqplat {

class BrushObject : public GdiObject {
 public:
  BrushObject(std::uint32_t rgb, bool hollow) : rgb_(rgb), hollow_(hollow) {}

  std::uint32_t rgb() const { return rgb_; }  // 0x00RRGGBB
  bool hollow() const { return hollow_; }

 private:
  std::uint32_t rgb_;
  bool hollow_;
};

}  // namespace wqplat
