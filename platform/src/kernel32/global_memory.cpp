// Global memory: GMEM_FIXED blocks are heap blocks whose handle is their
// address; moveable blocks are reached through a handle record and locked
// for use. The record table tells the two kinds apart.
#include <mutex>
#include <unordered_map>

#include "platform/kernel32_system.h"

namespace {

struct MoveableBlock {
  LPVOID data;
  DWORD lock_count = 0;
};

struct MoveableTable {
  std::mutex mutex;
  std::unordered_map<HGLOBAL, MoveableBlock> blocks;
};

MoveableTable& Moveables() {
  static MoveableTable* table = new MoveableTable;
  return *table;
}

// The data behind a handle: a moveable block's data, or a fixed block
// itself. With `release`, a moveable block's record is dropped.
LPVOID ResolveData(HGLOBAL memory, bool release) {
  MoveableTable& table = Moveables();
  std::lock_guard lock(table.mutex);
  auto found = table.blocks.find(memory);
  if (found == table.blocks.end()) return memory;
  LPVOID data = found->second.data;
  if (release) table.blocks.erase(found);
  return data;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  LPVOID data = HeapAlloc(GetProcessHeap(), (flags & GMEM_ZEROINIT) != 0 ? HEAP_ZERO_MEMORY : 0,
                          bytes);
  if (data == nullptr || (flags & GMEM_MOVEABLE) == 0) return data;
  // The record's handle is a fresh heap block, so it never collides with a
  // fixed block's address.
  HGLOBAL handle = HeapAlloc(GetProcessHeap(), 0, 1);
  if (handle == nullptr) {
    HeapFree(GetProcessHeap(), 0, data);
    return nullptr;
  }
  MoveableTable& table = Moveables();
  std::lock_guard lock(table.mutex);
  table.blocks.emplace(handle, MoveableBlock{data});
  return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
  MoveableTable& table = Moveables();
  std::lock_guard lock(table.mutex);
  auto found = table.blocks.find(memory);
  if (found == table.blocks.end()) return memory;
  ++found->second.lock_count;
  return found->second.data;
}

BOOL GlobalUnlock(HGLOBAL memory) {
  MoveableTable& table = Moveables();
  std::lock_guard lock(table.mutex);
  auto found = table.blocks.find(memory);
  if (found == table.blocks.end() || found->second.lock_count == 0) {
    SetLastError(found == table.blocks.end() ? ERROR_SUCCESS : ERROR_NOT_LOCKED);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  return --found->second.lock_count > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  if (memory == nullptr) return nullptr;
  LPVOID data = ResolveData(memory, true);
  if (data != memory) HeapFree(GetProcessHeap(), 0, memory);  // the record's handle
  HeapFree(GetProcessHeap(), 0, data);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  return memory == nullptr ? 0 : HeapSize(GetProcessHeap(), 0, ResolveData(memory, false));
}
