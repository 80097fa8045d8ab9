// Critical sections: a recursive mutex living inside the caller's
// CRITICAL_SECTION storage.
#include <mutex>
#include <new>

#include "platform/kernel32_system.h"

namespace {

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::opaque));
static_assert(alignof(std::recursive_mutex) <= alignof(CRITICAL_SECTION));

std::recursive_mutex& MutexOf(LPCRITICAL_SECTION section) {
  return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->opaque));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  new (section->opaque) std::recursive_mutex;
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  MutexOf(section).~recursive_mutex();
}

void EnterCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).lock(); }

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return MutexOf(section).try_lock() ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) { MutexOf(section).unlock(); }
