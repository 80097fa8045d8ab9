#include "core/base/time_source.h"

#include "core/base/log_file.h"
#include "core/base/math_utils.h"
#include "platform/mmsystem.h"
#include "platform/windows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

constexpr int kClockChoiceTicks = 60;
constexpr DWORD kClockChoiceWindowMs = 1000;
constexpr int kCalibrationMs = 100;

struct ClockState {
  int usePerformanceCounter = 0;
  std::int64_t performanceFrequency = 0;
  std::uint64_t cpuCyclesPerSecond = 0;
};

ClockState g_clock;

// count * 1,000,000 / rate without overflow: the product is formed in 128 bits.
std::int64_t ToMicroseconds(std::uint64_t count, std::uint64_t rate) {
  U128 product{};
  MultiplyU64To128(count, 1000000u, &product);
  std::uint64_t quotient = 0;
  DivideU128ByU64(&product, rate, &quotient);
  return static_cast<std::int64_t>(quotient);
}

std::uint64_t ReadPerformanceCounter() {
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  return static_cast<std::uint64_t>(count.QuadPart);
}

}  // namespace

int GetTimeMs() { return static_cast<int>(timeGetTime() & 0x7FFFFFFFu); }

std::int64_t GetTimeUs(int useCpuCounter) {
  if (useCpuCounter == 1 && g_clock.cpuCyclesPerSecond != 0) {
    return ToMicroseconds(ReadTimeStampCounter(), g_clock.cpuCyclesPerSecond);
  }
  if (g_clock.usePerformanceCounter) {
    return ToMicroseconds(ReadPerformanceCounter(), static_cast<std::uint64_t>(g_clock.performanceFrequency));
  }
  return static_cast<std::int64_t>(timeGetTime()) * 1000;
}

int GetLocalDate(int* year, int* month, int* day, int* hour, int* minute, int* second) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  *year = now.wYear;
  *month = now.wMonth;
  *day = now.wDay;
  *hour = now.wHour;
  *minute = now.wMinute;
  *second = now.wSecond;
  return 0;
}

int ReadPerformanceCounterFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  g_clock.performanceFrequency = frequency.QuadPart;
  g_clock.usePerformanceCounter = frequency.QuadPart != 0 ? 1 : 0;
  return 0;
}

int SelectTimeSource() {
  ReadPerformanceCounterFrequency();
  TIMECAPS caps{};
  timeGetDevCaps(&caps, sizeof(caps));
  timeBeginPeriod(caps.wPeriodMin);
  g_clock.usePerformanceCounter = 0;
  if (g_clock.performanceFrequency == 0) return 0;

  LogWrite("タイマーの精度を検査します\n");
  // Count how often each clock changes within one second of the
  // millisecond clock, until either has changed 60 times.
  const DWORD start = timeGetTime();
  DWORD lastMs = start;
  std::uint64_t lastCounter = ReadPerformanceCounter();
  int msChanges = 0;
  int counterChanges = 0;
  while (msChanges < kClockChoiceTicks && counterChanges < kClockChoiceTicks) {
    const DWORD ms = timeGetTime();
    const std::uint64_t counter = ReadPerformanceCounter();
    if (ms != lastMs) ++msChanges;
    if (counter != lastCounter) ++counterChanges;
    lastMs = ms;
    lastCounter = counter;
    if (ms - start >= kClockChoiceWindowMs) break;
  }
  LogWriteFormat("精度結果 更新回数 マルチメディアタイマー：%d  パフォーマンスカウンター：%d", msChanges, counterChanges);
  LogWrite(" ");
  if (msChanges > counterChanges) {
    LogWriteFormat("Multi Media Timer を使用します Timer 精度 : %u.00 ms ", caps.wPeriodMin);
  } else {
    g_clock.usePerformanceCounter = 1;
    LogWriteFormat("パフォーマンスカウンターを使用します タイマー精度 : %lf KHz ",
                   static_cast<double>(g_clock.performanceFrequency) / 1000.0);
  }
  LogWrite(" ");
  return 0;
}

int IsPerformanceCounterInUse() { return g_clock.usePerformanceCounter; }

std::uint64_t ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#else
  return 0;
#endif
}

std::uint64_t MeasureCpuCyclesPerSecond() {
  const std::uint64_t startCycles = ReadTimeStampCounter();
  const int startMs = GetTimeMs();
  // Masked 31-bit difference, so a wrap of the masked clock is harmless.
  while (((GetTimeMs() - startMs) & 0x7FFFFFFF) < kCalibrationMs) {
  }
  return (ReadTimeStampCounter() - startCycles) * 10;
}

void SetCpuCyclesPerSecond(std::uint64_t cyclesPerSecond) { g_clock.cpuCyclesPerSecond = cyclesPerSecond; }
