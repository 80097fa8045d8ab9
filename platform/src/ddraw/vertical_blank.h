// The display clock: vertical blanks at the desktop's refresh rate, counted
// on the layer's clock (so the virtual clock makes every wait instant).
// Direct3D presents and DirectDraw waits share it.
#pragma once

#include <cstdint>

namespace wqplat {

// Sleeps until the next vertical blank after now; returns its time in
// microseconds of the layer's clock.
std::uint64_t WaitForNextVerticalBlank();

// The blank at or after `time_us` on a display refreshing `refresh_hz` times
// a second (blanks fall on whole multiples of the period from time 0).
std::uint64_t NextVerticalBlankUs(std::uint64_t time_us, int refresh_hz);

}  // namespace wqplat
