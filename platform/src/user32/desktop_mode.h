// The desktop's display mode as the layer reports it: 1920 x 1080 x 32 at
// 60 Hz unless a real display says otherwise.
#pragma once

namespace wqplat {

struct DesktopMode {
  int width;
  int height;
  int bits_per_pixel;
  int refresh_rate;

  bool operator==(const DesktopMode&) const = default;
};

DesktopMode GetDesktopMode();

}  // namespace wqplat
