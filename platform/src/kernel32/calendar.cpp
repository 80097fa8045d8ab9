#include "kernel32/calendar.h"

namespace wqplat {
namespace {

constexpr std::uint64_t kTicksPerDay = 86'400ull * 1000 * kTicksPerMillisecond;
// Days from 0000-03-01 (the proleptic Gregorian origin the arithmetic below
// uses) to 1601-01-01.
constexpr std::int64_t kDaysTo1601 = 584'694;

bool IsLeapYear(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(std::int64_t year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Counts years from March, so the leap day ends a year: 400-year eras of
// 146,097 days, then days within the era.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = year / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t shifted_month = (month + 9) % 12;  // March = 0
  const std::int64_t day_of_year = (153 * shifted_month + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146'097 + day_of_era - kDaysTo1601;
}

}  // namespace

SYSTEMTIME TicksToSystemTime(std::uint64_t ticks) {
  const std::int64_t days = static_cast<std::int64_t>(ticks / kTicksPerDay);
  const std::uint64_t day_ticks = ticks % kTicksPerDay;

  const std::int64_t since_origin = days + kDaysTo1601;
  const std::int64_t era = since_origin / 146'097;
  const std::int64_t day_of_era = since_origin - era * 146'097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const std::int64_t year = era * 400 + year_of_era + (month <= 2);

  const std::uint64_t milliseconds = day_ticks / kTicksPerMillisecond;
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  time.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  time.wHour = static_cast<WORD>(milliseconds / 3'600'000);
  time.wMinute = static_cast<WORD>(milliseconds / 60'000 % 60);
  time.wSecond = static_cast<WORD>(milliseconds / 1000 % 60);
  time.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
  return time;
}

std::optional<std::uint64_t> SystemTimeToTicks(const SYSTEMTIME& time) {
  if (time.wYear < 1601 || time.wYear > 30827 || time.wMonth < 1 || time.wMonth > 12 ||
      time.wDay < 1 || time.wDay > DaysInMonth(time.wYear, time.wMonth) || time.wHour > 23 ||
      time.wMinute > 59 || time.wSecond > 59 || time.wMilliseconds > 999) {
    return std::nullopt;
  }
  const std::uint64_t days =
      static_cast<std::uint64_t>(DaysFromCivil(time.wYear, time.wMonth, time.wDay));
  const std::uint64_t milliseconds =
      ((time.wHour * 60ull + time.wMinute) * 60 + time.wSecond) * 1000 + time.wMilliseconds;
  return days * kTicksPerDay + milliseconds * kTicksPerMillisecond;
}

}  // namespace wqplat
