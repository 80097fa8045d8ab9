#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "platform/mmsystem.h"
#include "platform/windows.h"

namespace {

ULONGLONG TicksOf(const FILETIME& time) {
  return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME FileTimeOf(ULONGLONG ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

TEST(TimeConversionTest, SystemTimeAndFileTimeRoundTrip) {
  struct Case {
    SYSTEMTIME time;  // with its true day of the week
    ULONGLONG ticks;
  } cases[] = {
      {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
      {{1970, 1, 0, 4, 0, 0, 0, 0}, 116447328000000000ull},
      {{2000, 2, 2, 29, 23, 59, 59, 999}, 125963423999990000ull},
      {{2024, 1, 1, 1, 0, 0, 0, 0}, 133485408000000000ull},
      {{2106, 2, 0, 7, 6, 28, 16, 0}, 159394408960000000ull},  // past 32-bit Unix seconds
      {{30827, 12, 5, 31, 23, 59, 59, 999}, 0x7FFF35F4F06C58F0ull},
  };
  for (const Case& c : cases) {
    FILETIME file_time;
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &file_time)) << c.time.wYear;
    EXPECT_EQ(TicksOf(file_time), c.ticks) << c.time.wYear;
    SYSTEMTIME back;
    ASSERT_TRUE(FileTimeToSystemTime(&file_time, &back));
    EXPECT_EQ(std::memcmp(&back, &c.time, sizeof back), 0) << c.time.wYear;
  }
}

TEST(TimeConversionTest, RefusesOutOfRangeValues) {
  const SYSTEMTIME invalid[] = {
      {1900, 2, 0, 29, 0, 0, 0, 0},   // 1900 is no leap year
      {2023, 13, 0, 1, 0, 0, 0, 0},   // month
      {1600, 12, 0, 31, 0, 0, 0, 0},  // before the FILETIME epoch
      {2023, 4, 0, 31, 0, 0, 0, 0},   // day
      {2023, 4, 0, 1, 24, 0, 0, 0},   // hour
      {2023, 4, 0, 1, 0, 0, 0, 1000}, // milliseconds
  };
  for (const SYSTEMTIME& time : invalid) {
    FILETIME file_time;
    EXPECT_FALSE(SystemTimeToFileTime(&time, &file_time)) << time.wYear << "-" << time.wMonth;
  }
  const FILETIME negative = FileTimeOf(0x8000000000000000ull);
  SYSTEMTIME time;
  EXPECT_FALSE(FileTimeToSystemTime(&negative, &time));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(TimeConversionTest, LocalFileTimeAppliesTheZoneOffset) {
  const ULONGLONG utc = 133485408000000000ull;  // 2024-01-01 00:00 UTC
  const FILETIME utc_time = FileTimeOf(utc);
  FILETIME local_time;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc_time, &local_time));

  const time_t seconds = 1704067200;  // the same instant for the C library
  tm local{};
  localtime_r(&seconds, &local);
  EXPECT_EQ(static_cast<LONGLONG>(TicksOf(local_time) - utc), local.tm_gmtoff * 10'000'000LL);

  const FILETIME last = FileTimeOf(0x7FFFFFFFFFFFFFFFull);
  if (local.tm_gmtoff > 0) {
    EXPECT_FALSE(FileTimeToLocalFileTime(&last, &local_time)) << "would pass the last FILETIME";
  }
}

TEST(RealClockTest, ClocksAgreeAndRunForward) {
  LARGE_INTEGER frequency;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 10'000'000);

  LARGE_INTEGER first;
  LARGE_INTEGER second;
  QueryPerformanceCounter(&first);
  const DWORD ms_first = timeGetTime();
  Sleep(20);
  QueryPerformanceCounter(&second);
  const DWORD ms_second = timeGetTime();
  EXPECT_GE(second.QuadPart - first.QuadPart, 20 * 10'000);
  EXPECT_GE(ms_second - ms_first, 19u);
  const DWORD ticks = GetTickCount();
  EXPECT_LE(ms_second, ticks) << "one clock behind both";
  EXPECT_LE(ticks, timeGetTime());

  SYSTEMTIME now;
  GetSystemTime(&now);
  const time_t seconds = time(nullptr);
  tm utc{};
  gmtime_r(&seconds, &utc);
  EXPECT_EQ(now.wYear, utc.tm_year + 1900);
  EXPECT_EQ(now.wDayOfWeek, utc.tm_wday);
}

TEST(MultimediaTimerTest, ReportsAndAcceptsAOneMillisecondPeriod) {
  TIMECAPS caps{};
  ASSERT_EQ(timeGetDevCaps(&caps, sizeof caps), TIMERR_NOERROR);
  EXPECT_EQ(caps.wPeriodMin, 1u);
  EXPECT_GE(caps.wPeriodMax, caps.wPeriodMin);
  EXPECT_EQ(timeBeginPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeEndPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeBeginPeriod(0), TIMERR_NOCANDO);
  EXPECT_EQ(timeGetDevCaps(&caps, sizeof caps - 1), TIMERR_NOCANDO);
}

}  // namespace
