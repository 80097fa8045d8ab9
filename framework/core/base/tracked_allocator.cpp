#include "core/base/tracked_allocator.h"

#include <cstring>

#include "core/base/log_file.h"
#include "platform/windows.h"
#include "core/base/string_utils.h"

static_assert(sizeof(TrackedBlockHeader) % 16 == 0, "the data behind the header must stay 16-byte aligned");
static_assert(offsetof(TrackedBlockHeader, check) == sizeof(TrackedBlockHeader::check),
              "the check copy covers exactly the fields before it");

namespace {

constexpr std::size_t kHeaderSize = sizeof(TrackedBlockHeader);
constexpr std::size_t kNameChars = sizeof(TrackedBlockHeader::name) - 1;
// The header records sizes as u32; anything larger is refused.
constexpr std::size_t kMaxBlockSize = 0xFFFFFFFFu;
constexpr int kDumpedDataBytes = 16;

struct AllocatorState {
  CRITICAL_SECTION lock;
  TrackedBlockHeader anchor{};
  TrackedBlockHeader* newest = nullptr;
  std::int64_t byteTotal = 0;
  int blockCount = 0;
  std::uint16_t nextId = 0;
  int traceAll = 0;
  int traceSize = 0;
  int logTotals = 0;
  int checkAll = 0;

  AllocatorState() { InitializeCriticalSection(&lock); }
};

// Created on first use by whichever thread comes first; the initialisation
// of a function-local static is itself thread-safe.
AllocatorState& State() {
  static AllocatorState state;
  return state;
}

class AllocatorLock {
 public:
  AllocatorLock() : state_(State()) { EnterCriticalSection(&state_.lock); }
  ~AllocatorLock() { LeaveCriticalSection(&state_.lock); }
  AllocatorLock(const AllocatorLock&) = delete;
  AllocatorLock& operator=(const AllocatorLock&) = delete;

 private:
  AllocatorState& state_;
};

TrackedBlockHeader* HeaderOf(void* data) {
  return reinterpret_cast<TrackedBlockHeader*>(static_cast<unsigned char*>(data) - kHeaderSize);
}

void* DataOf(TrackedBlockHeader* header) { return reinterpret_cast<unsigned char*>(header) + kHeaderSize; }

const unsigned char* DataOf(const TrackedBlockHeader* header) {
  return reinterpret_cast<const unsigned char*>(header) + kHeaderSize;
}

void RefreshCheck(TrackedBlockHeader* header) {
  if (header != nullptr) std::memcpy(header->check, header, sizeof(header->check));
}

bool IsIntact(const TrackedBlockHeader* header) {
  return std::memcmp(header->check, header, sizeof(header->check)) == 0;
}

void SetOrigin(TrackedBlockHeader* header, const char* file, int line) {
  std::memset(header->name, 0, sizeof(header->name));
  if (file != nullptr) {
    const std::size_t length = std::strlen(file);
    const char* tail = length > kNameChars ? file + (length - kNameChars) : file;
    std::memcpy(header->name, tail, std::strlen(tail));
  }
  header->line = static_cast<std::uint16_t>(line);
  header->id = State().nextId++;
}

bool IsTraced(std::size_t size) {
  const AllocatorState& state = State();
  return state.traceAll == 1 || state.traceSize < 0 || static_cast<std::size_t>(state.traceSize) == size;
}

// Trace, totals and check after an operation, as the switches ask.
void ReportOperation(const char* label, const TrackedBlockHeader* header, bool checkNow) {
  AllocatorState& state = State();
  if (IsTraced(header->size)) {
    LogWrite(label);
    LogAllocationBlock(header);
  }
  if (state.logTotals) LogAllocationTotals();
  if (checkNow && state.checkAll) CheckAllocation();
}

}  // namespace

void* TrackedAlloc(std::size_t size, const char* file, int line) {
  AllocatorLock lock;
  AllocatorState& state = State();
  auto* header = size <= kMaxBlockSize
                     ? static_cast<TrackedBlockHeader*>(HeapAlloc(GetProcessHeap(), 0, size + kHeaderSize))
                     : nullptr;
  if (header == nullptr) {
    DumpAllocations();
    CheckAllocation();
    return nullptr;
  }
  header->size = static_cast<std::uint32_t>(size);
  SetOrigin(header, file, line);

  TrackedBlockHeader* older = state.newest != nullptr ? state.newest : &state.anchor;
  older->newer = header;
  header->older = older;
  header->newer = nullptr;
  state.newest = header;
  RefreshCheck(header);
  RefreshCheck(older);

  state.byteTotal += static_cast<std::int64_t>(size);
  state.blockCount += 1;
  ReportOperation("mem alloc  ", header, true);
  return DataOf(header);
}

void* TrackedAllocZero(std::size_t size, const char* file, int line) {
  void* data = TrackedAlloc(size, file, line);
  if (data != nullptr && size > 0) std::memset(data, 0, size);
  return data;
}

void TrackedFree(void* data) {
  if (data == nullptr) return;
  AllocatorLock lock;
  AllocatorState& state = State();
  TrackedBlockHeader* header = HeaderOf(data);
  state.byteTotal -= header->size;
  state.blockCount -= 1;
  if (state.checkAll) CheckAllocation();

  TrackedBlockHeader* older = header->older;
  TrackedBlockHeader* newer = header->newer;
  older->newer = newer;
  if (newer != nullptr) newer->older = older;
  if (state.newest == header) state.newest = older;
  RefreshCheck(older);
  RefreshCheck(newer);

  ReportOperation("mem free  ", header, false);
  HeapFree(GetProcessHeap(), 0, header);
}

void* TrackedRealloc(void* data, std::size_t size, const char* file, int line) {
  if (data == nullptr) return TrackedAlloc(size, file, line);
  AllocatorLock lock;
  AllocatorState& state = State();
  TrackedBlockHeader* old = HeaderOf(data);
  const std::uint32_t oldSize = old->size;
  auto* header = size <= kMaxBlockSize ? static_cast<TrackedBlockHeader*>(HeapReAlloc(
                                             GetProcessHeap(), HEAP_ZERO_MEMORY, old, size + kHeaderSize))
                                       : nullptr;
  if (header == nullptr) {
    DumpAllocations();
    return nullptr;
  }
  header->size = static_cast<std::uint32_t>(size);
  SetOrigin(header, file, line);
  header->older->newer = header;
  if (header->newer != nullptr) header->newer->older = header;
  if (state.newest == old) state.newest = header;
  RefreshCheck(header);
  RefreshCheck(header->older);
  RefreshCheck(header->newer);

  state.byteTotal += static_cast<std::int64_t>(size) - oldSize;
  ReportOperation("mem realloc  ", header, true);
  return DataOf(header);
}

int CheckAllocation() {
  AllocatorLock lock;
  AllocatorState& state = State();
  // Each header is verified before its older-link is followed, so a damaged
  // link is never walked.
  for (TrackedBlockHeader* header = state.newest; header != nullptr && header != &state.anchor;
       header = header->older) {
    if (!IsIntact(header)) {
      LogWrite("以下のメモリ確保情報が破損しました");
      LogAllocationBlock(header);
      return -1;
    }
  }
  return 0;
}

void DumpAllocations() {
  AllocatorLock lock;
  AllocatorState& state = State();
  LogWrite("\n");
  LogWrite("Alloc memory dump\n");
  for (TrackedBlockHeader* header = state.newest; header != nullptr && header != &state.anchor;
       header = header->older) {
    LogAllocationBlock(header);
  }
  LogAllocationTotals();
  LogWrite("\n");
}

int LogAllocationTotals() {
  std::int64_t total = 0;
  int count = 0;
  {
    AllocatorLock lock;
    total = State().byteTotal;
    count = State().blockCount;
  }
  return LogWriteFormat("\tTotal size:%lld(%.3fkb)  Alloc num:%d", static_cast<long long>(total),
                        static_cast<double>(total) / 1024.0, count);
}

void LogAllocationBlock(const TrackedBlockHeader* header) {
  char line[256];
  // The address column holds 32 bits: the low half of the data address.
  FormatString(line, sizeof(line), "\tsize:%10d(%10.3fkb)  file:%-26s  line:%-5d  ID:%-5d  addr:%08x  data:<",
               static_cast<int>(header->size), static_cast<double>(header->size) / 1024.0, header->name,
               static_cast<int>(header->line), static_cast<int>(header->id),
               static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(DataOf(header))));
  int length = static_cast<int>(std::strlen(line));

  const unsigned char* data = DataOf(header);
  const int shown = header->size < kDumpedDataBytes ? static_cast<int>(header->size) : kDumpedDataBytes;
  for (int i = 0; i < shown; ++i) {
    line[length++] = (data[i] < 0x20 || data[i] > 0x7F) ? '.' : static_cast<char>(data[i]);
  }
  line[length++] = '>';
  line[length++] = ' ';
  line[length++] = '[';
  for (int i = 0; i < shown; ++i) {
    FormatString(line + length, sizeof(line) - static_cast<std::size_t>(length), "%02x ", data[i]);
    length += 3;
  }
  // The closing bracket replaces the last space, or the opening bracket
  // when no byte was shown.
  FormatString(line + length - 1, sizeof(line) - static_cast<std::size_t>(length - 1), "]\n");
  LogWrite(line);
}

std::int64_t GetTrackedByteTotal() {
  AllocatorLock lock;
  return State().byteTotal;
}

int GetTrackedBlockCount() {
  AllocatorLock lock;
  return State().blockCount;
}

// The switches are set before the allocations they concern.
void SetTrackedTraceAll(int on) { State().traceAll = on; }
void SetTrackedTraceSize(int size) { State().traceSize = size; }
void SetTrackedLogTotals(int on) { State().logTotals = on; }
void SetTrackedCheckAll(int on) { State().checkAll = on; }
