// kernel32 time: the performance counter, the tick count, the system and
// local date and FILETIME conversions, all read from the layer's clock.
#include "kernel32/calendar.h"
#include "kernel32/system_clock.h"
#include "platform/kernel32_system.h"

namespace {

constexpr LONGLONG kPerformanceFrequency = 10'000'000;  // 100 ns per count

std::uint64_t TicksOf(const FILETIME& time) {
  return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME FileTimeOf(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

BOOL InvalidParameter() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

}  // namespace

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (count == nullptr) return InvalidParameter();
  count->QuadPart = static_cast<LONGLONG>(wqplat::NowUs() * (kPerformanceFrequency / 1'000'000));
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr) return InvalidParameter();
  frequency->QuadPart = kPerformanceFrequency;
  return TRUE;
}

DWORD GetTickCount() { return static_cast<DWORD>(wqplat::NowUs() / 1000); }

void GetSystemTime(LPSYSTEMTIME time) {
  *time = wqplat::TicksToSystemTime(wqplat::WallClockTicks());
}

void GetLocalTime(LPSYSTEMTIME time) {
  const std::uint64_t utc = wqplat::WallClockTicks();
  *time = wqplat::TicksToSystemTime(utc + wqplat::LocalTimeOffsetTicks(utc));
}

BOOL FileTimeToSystemTime(const FILETIME* file_time, LPSYSTEMTIME system_time) {
  if (file_time == nullptr || system_time == nullptr) return InvalidParameter();
  const std::uint64_t ticks = TicksOf(*file_time);
  if (ticks > wqplat::kMaxFileTimeTicks) return InvalidParameter();
  *system_time = wqplat::TicksToSystemTime(ticks);
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* system_time, LPFILETIME file_time) {
  if (system_time == nullptr || file_time == nullptr) return InvalidParameter();
  const auto ticks = wqplat::SystemTimeToTicks(*system_time);
  if (!ticks) return InvalidParameter();
  *file_time = FileTimeOf(*ticks);
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* file_time, LPFILETIME local_file_time) {
  if (file_time == nullptr || local_file_time == nullptr) return InvalidParameter();
  const std::uint64_t utc = TicksOf(*file_time);
  const std::int64_t offset = wqplat::LocalTimeOffsetTicks(utc);
  // A shift past either end of the FILETIME range fails instead of wrapping.
  if ((offset < 0 && utc < static_cast<std::uint64_t>(-offset)) ||
      (offset > 0 && utc > wqplat::kMaxFileTimeTicks - static_cast<std::uint64_t>(offset))) {
    return InvalidParameter();
  }
  *local_file_time = FileTimeOf(utc + offset);
  return TRUE;
}
