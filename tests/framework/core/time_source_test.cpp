#include "core/base/time_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "log_capture.h"
#include "platform/mmsystem.h"
#include "platform/windows.h"

namespace {

using wqtest::LogCapture;

constexpr unsigned long long kHourUs = 3600ull * 1'000'000;

TEST_F(LogCapture, WithoutThePerformanceCounterMicrosecondsAreWholeMilliseconds) {
  ASSERT_EQ(IsPerformanceCounterInUse(), 0);
  for (int i = 0; i < 5; ++i) {
    WqControlAdvanceVirtualClock(1234);
    const std::int64_t us = GetTimeUs(0);
    EXPECT_EQ(us % 1000, 0);
    EXPECT_EQ(us, static_cast<std::int64_t>(timeGetTime()) * 1000);
    // Before start-up has measured the processor, 1 does not pick the
    // time-stamp counter.
    EXPECT_EQ(GetTimeUs(1) % 1000, 0);
  }
}

// Start-up reads the counter's frequency before it measures anything: from
// then on the counter times, to the microsecond.
TEST_F(LogCapture, ReadingTheFrequencyPutsTheCounterInUse) {
  ASSERT_EQ(ReadPerformanceCounterFrequency(), 0);
  EXPECT_EQ(IsPerformanceCounterInUse(), 1);
  const std::int64_t before = GetTimeUs(0);
  WqControlAdvanceVirtualClock(7);
  EXPECT_EQ(GetTimeUs(0) - before, 7);
  EXPECT_EQ(LogText(), "");
}

TEST_F(LogCapture, ClockChoicePrefersThePerformanceCounterOnATie) {
  // Under the virtual clock both clocks step together, 1 ms at a time.
  EXPECT_EQ(SelectTimeSource(), 0);
  EXPECT_EQ(IsPerformanceCounterInUse(), 1);
  const std::string log = LogText();
  EXPECT_EQ(log.rfind("0:タイマーの精度を検査します\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("精度結果 更新回数 マルチメディアタイマー："), std::string::npos) << log;
  EXPECT_NE(log.find(" パフォーマンスカウンターを使用します タイマー精度 : 10000.000000 KHz \r\n"), std::string::npos)
      << log;
}

TEST_F(LogCapture, PerformanceCounterTimeStaysExactOverDaysOfRunning) {
  SelectTimeSource();
  ASSERT_EQ(IsPerformanceCounterInUse(), 1);
  // 36 minutes, then hours, then a month: the counter times 1,000,000 no
  // longer fits 64 bits after about 21 days at 10 MHz.
  for (const unsigned long long advance : {36 * 60 * 1'000'000ull, 5 * kHourUs, 30 * 24 * kHourUs, 400 * 24 * kHourUs}) {
    const std::int64_t before = GetTimeUs(0);
    WqControlAdvanceVirtualClock(advance);
    const std::int64_t after = GetTimeUs(0);
    EXPECT_EQ(after - before, static_cast<std::int64_t>(advance));
    EXPECT_EQ(after, static_cast<std::int64_t>(WqControlGetVirtualClockUs()));
  }
}

TEST_F(LogCapture, MillisecondClockIsNeverNegative) {
  for (const unsigned long long advance : {0ull, 24 * 24 * kHourUs, 24 * kHourUs, 2 * 24 * kHourUs, 30 * 24 * kHourUs}) {
    WqControlAdvanceVirtualClock(advance);
    const int ms = GetTimeMs();
    EXPECT_GE(ms, 0);
    EXPECT_EQ(static_cast<DWORD>(ms), timeGetTime() & 0x7FFFFFFFu);
  }
}

TEST_F(LogCapture, LocalDateTakesTheLocalTimeFields) {
  // A day and some hours on, so that every field differs from the day of
  // the week and from the others.
  WqControlAdvanceVirtualClock(24 * kHourUs + 2 * kHourUs + 3 * 60'000'000ull + 4'000'000ull);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  EXPECT_EQ(GetLocalDate(&year, &month, &day, &hour, &minute, &second), 0);
  EXPECT_EQ(year, now.wYear);
  EXPECT_EQ(month, now.wMonth);
  EXPECT_EQ(day, now.wDay);
  EXPECT_EQ(hour, now.wHour);
  EXPECT_EQ(minute, now.wMinute);
  EXPECT_EQ(second, now.wSecond);
}

TEST(TimeStampCounterTest, MicrosecondsScaleTheCounterWithoutOverflow) {
#if defined(__x86_64__) || defined(__i386__)
  for (const std::uint64_t rate : {1'000'000ull, 3'000'000'000ull, 999'999'937ull}) {
    SetCpuCyclesPerSecond(rate);
    const std::uint64_t low = ReadTimeStampCounter();
    const std::int64_t us = GetTimeUs(1);
    const std::uint64_t high = ReadTimeStampCounter();
    const auto scale = [rate](std::uint64_t cycles) {
      return static_cast<std::int64_t>(static_cast<unsigned __int128>(cycles) * 1'000'000u / rate);
    };
    EXPECT_GE(us, scale(low));
    EXPECT_LE(us, scale(high));
  }
  SetCpuCyclesPerSecond(0);
  WqControlEnableVirtualClock(true);
  EXPECT_EQ(GetTimeUs(1), GetTimeUs(0)) << "without a measured rate the counter is not used";
  WqControlEnableVirtualClock(false);
#else
  GTEST_SKIP() << "no time-stamp counter on this processor";
#endif
}

TEST_F(LogCapture, CalibrationCountsCyclesOverATenthOfASecond) {
  const std::uint64_t startMs = timeGetTime();
  const std::uint64_t cycles = MeasureCpuCyclesPerSecond();
  EXPECT_GE(timeGetTime() - startMs, 100u);
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_GT(cycles, 0u);
  EXPECT_EQ(cycles % 10, 0u);
#endif
}

}  // namespace
