// Dates as FILETIME counts them: 100 ns units since 1601-01-01 00:00, in
// 64-bit arithmetic throughout.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/wintypes.h"

namespace wqplat {

inline constexpr std::uint64_t kTicksPerMillisecond = 10'000;
// The largest count a FILETIME conversion accepts (the sign bit clear).
inline constexpr std::uint64_t kMaxFileTimeTicks = 0x7FFFFFFFFFFFFFFFull;

SYSTEMTIME TicksToSystemTime(std::uint64_t ticks);
// Empty when a field is out of range (the day of the week is not read).
std::optional<std::uint64_t> SystemTimeToTicks(const SYSTEMTIME& time);

}  // namespace wqplat
