#include "kernel32/kernel_object.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/kernel32_base.h"

namespace wqplat {
namespace {

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
  // Handle values are multiples of 4 as on Windows; they are not reused
  // soon, so a stale handle rarely names a new object.
  std::uintptr_t next_value = 0x1000;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // outlives static destructors
  return *table;
}

}  // namespace

HANDLE RegisterKernelObject(std::shared_ptr<KernelObject> object) {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::uintptr_t value;
  do {
    value = table.next_value;
    table.next_value += 4;
    if (table.next_value >= 0x7FFFFFF0) table.next_value = 0x1000;
  } while (table.objects.count(value) != 0);
  table.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle) {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return found == table.objects.end() ? nullptr : found->second;
}

bool UnregisterKernelObject(HANDLE handle) {
  std::shared_ptr<KernelObject> released;  // destroyed outside the lock
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == table.objects.end()) return false;
  released = std::move(found->second);
  table.objects.erase(found);
  return true;
}

}  // namespace wqplat

namespace {
thread_local DWORD last_error = ERROR_SUCCESS;
}

DWORD GetLastError() { return last_error; }

void SetLastError(DWORD error) { last_error = error; }

BOOL CloseHandle(HANDLE object) {
  if (!wqplat::UnregisterKernelObject(object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
