#include "ddraw/vertical_blank.h"

#include "kernel32/system_clock.h"
#include "user32/desktop_mode.h"

namespace wqplat {

std::uint64_t NextVerticalBlankUs(std::uint64_t time_us, int refresh_hz) {
  std::uint64_t rate = refresh_hz > 0 ? static_cast<std::uint64_t>(refresh_hz) : 60;
  // Blank k falls at ceil(k * 1e6 / rate) (exact for any rate, no drift);
  // the first at or after t is the first k with k * 1e6 > (t - 1) * rate.
  if (time_us == 0) return 0;
  std::uint64_t index = (time_us - 1) * rate / 1000000 + 1;
  return (index * 1000000 + rate - 1) / rate;
}

std::uint64_t WaitForNextVerticalBlank() {
  std::uint64_t now = NowUs();
  std::uint64_t blank = NextVerticalBlankUs(now + 1, GetDesktopMode().refresh_rate);
  SleepUs(blank - now);
  return blank;
}

}  // namespace wqplat
