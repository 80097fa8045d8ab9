// VirtualAlloc and VirtualFree over anonymous mappings. Each reservation's
// length is kept, since MEM_RELEASE names only the base address.
#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "platform/kernel32_system.h"

namespace {

struct Reservations {
  std::mutex mutex;
  std::map<std::uintptr_t, SIZE_T> lengths;  // base -> length
};

Reservations& Regions() {
  static Reservations* regions = new Reservations;
  return *regions;
}

int ProtectionOf(DWORD protect) {
  switch (protect) {
    case PAGE_NOACCESS: return PROT_NONE;
    case PAGE_READONLY: return PROT_READ;
    case PAGE_READWRITE: return PROT_READ | PROT_WRITE;
    case PAGE_EXECUTE: return PROT_EXEC;
    case PAGE_EXECUTE_READ: return PROT_READ | PROT_EXEC;
    case PAGE_EXECUTE_READWRITE: return PROT_READ | PROT_WRITE | PROT_EXEC;
    default: return -1;
  }
}

std::uintptr_t PageSize() { return static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)); }

// The whole pages covering [address, address + size), when they lie inside
// one reservation.
bool PagesInReservation(LPVOID address, SIZE_T size, std::uintptr_t& first, SIZE_T& length) {
  const std::uintptr_t page = PageSize();
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  if (start > UINTPTR_MAX - page || size > UINTPTR_MAX - page - start) return false;
  first = start & ~(page - 1);
  const std::uintptr_t end = (start + size + page - 1) & ~(page - 1);
  length = end - first;
  Reservations& regions = Regions();
  std::lock_guard lock(regions.mutex);
  auto after = regions.lengths.upper_bound(first);
  if (after == regions.lengths.begin()) return false;
  auto region = std::prev(after);
  return end <= region->first + region->second;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocation_type, DWORD protect) {
  const int protection = ProtectionOf(protect);
  if (size == 0 || protection < 0 || (allocation_type & (MEM_COMMIT | MEM_RESERVE)) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (address != nullptr) {  // committing pages of an earlier reservation
    std::uintptr_t first;
    SIZE_T length;
    if ((allocation_type & MEM_RESERVE) != 0 || !PagesInReservation(address, size, first, length)) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return nullptr;
    }
    if (mprotect(reinterpret_cast<void*>(first), length, protection) != 0) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    return reinterpret_cast<LPVOID>(first);
  }
  const int initial = (allocation_type & MEM_COMMIT) != 0 ? protection : PROT_NONE;
  void* base = mmap(nullptr, size, initial, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (base == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Reservations& regions = Regions();
  std::lock_guard lock(regions.mutex);
  regions.lengths[reinterpret_cast<std::uintptr_t>(base)] = size;
  return base;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD free_type) {
  if (free_type == MEM_RELEASE) {
    if (size != 0) return Fail(ERROR_INVALID_PARAMETER);
    Reservations& regions = Regions();
    std::lock_guard lock(regions.mutex);
    auto region = regions.lengths.find(reinterpret_cast<std::uintptr_t>(address));
    if (region == regions.lengths.end()) return Fail(ERROR_INVALID_ADDRESS);
    munmap(address, region->second);
    regions.lengths.erase(region);
    return TRUE;
  }
  if (free_type == MEM_DECOMMIT) {
    std::uintptr_t first;
    SIZE_T length;
    if (size == 0 || !PagesInReservation(address, size, first, length)) {
      return Fail(ERROR_INVALID_ADDRESS);
    }
    // Decommitted pages read as zero when committed again.
    madvise(reinterpret_cast<void*>(first), length, MADV_DONTNEED);
    mprotect(reinterpret_cast<void*>(first), length, PROT_NONE);
    return TRUE;
  }
  return Fail(ERROR_INVALID_PARAMETER);
}
