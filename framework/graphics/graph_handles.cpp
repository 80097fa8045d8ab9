// The graph handle table: 32,768 slots of records reached through handles
// of kind 0x08000000 with an 11-bit check value.
#include "core/base/tracked_allocator.h"
#include "core/startup/library_startup.h"
#include "graphics/graph_record.h"
#include "sound/handle_slots.h"

namespace {

struct GraphHandleTable {
  GraphRecord* slots[kGraphSlotCount];
  int live;
  int end;  // one past the highest slot used
  std::uint32_t nextCheck;
};

GraphHandleTable g_graphs{};

int FreeSlot() {
  if (g_graphs.end < kGraphSlotCount) return g_graphs.end;
  for (int slot = 0; slot < kGraphSlotCount; ++slot) {
    if (g_graphs.slots[slot] == nullptr) return slot;
  }
  return -1;
}

}  // namespace

int AllocGraphHandle() {
  const int slot = g_graphs.live < kGraphSlotCount ? FreeSlot() : -1;
  if (slot < 0) TerminateAndExit("グラフィックの数が許容量を越えました終了します");
  auto* record = static_cast<GraphRecord*>(TrackedAllocZero(sizeof(GraphRecord), __FILE__, __LINE__));
  if (record == nullptr) TerminateAndExit("メモリの確保に失敗しました");
  record->check = g_graphs.nextCheck;
  g_graphs.nextCheck = (g_graphs.nextCheck + 1) % kHandleCheckLimit;
  record->handle = MakeSlotHandle(kGraphHandleKind, record->check, slot);
  record->movie = -1;
  g_graphs.slots[slot] = record;
  ++g_graphs.live;
  if (slot == g_graphs.end) ++g_graphs.end;
  return record->handle;
}

GraphRecord* FindGraphRecord(int handle) {
  return FindSlotRecord(g_graphs.slots, kGraphSlotCount, kGraphHandleKind, handle);
}

int FreeGraphHandle(int handle) {
  if (FindGraphRecord(handle) == nullptr) return -1;
  const int slot = handle & kHandleIndexMask;
  TrackedFree(g_graphs.slots[slot]);
  g_graphs.slots[slot] = nullptr;
  --g_graphs.live;
  LowerSlotHint(g_graphs.slots, slot, &g_graphs.end);
  return 0;
}

int GraphSlotEnd() { return g_graphs.end; }

int GraphHandleCount() { return g_graphs.live; }

GraphRecord* GraphRecordAt(int slot) { return slot >= 0 && slot < g_graphs.end ? g_graphs.slots[slot] : nullptr; }
