// MulDiv and lstrcmpW.
#include <cstdint>
#include <cstdlib>

#include "platform/kernel32_system.h"

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  // Rounded half away from zero: add half the divisor in the direction of
  // the quotient's sign before truncating.
  const std::int64_t half = std::llabs(denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
  const std::int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<int>(result);
}

int lstrcmpW(LPCWSTR first, LPCWSTR second) {
  if (first == second) return 0;
  if (first == nullptr) return -1;
  if (second == nullptr) return 1;
  for (; *first != 0 && *first == *second; ++first, ++second) {
  }
  if (*first == *second) return 0;
  return *first < *second ? -1 : 1;
}
