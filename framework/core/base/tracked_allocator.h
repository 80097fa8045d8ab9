// Tracked allocator: every framework allocation carries a header that links
// it into one list of live blocks, so leaks can be dumped to the log at
// shutdown and overwritten headers can be detected.
#pragma once

#include <cstddef>
#include <cstdint>

// Sits in front of every block; the caller gets the address just behind it.
// The size is a multiple of 16 so the data keeps 16-byte alignment.
struct TrackedBlockHeader {
  char name[16];  // last 15 characters of the caller's source-file name
  std::uint16_t id;
  std::uint16_t line;
  std::uint32_t size;
  TrackedBlockHeader* older;
  TrackedBlockHeader* newer;
  // Byte copy of everything above; a mismatch means the header was damaged.
  unsigned char check[40];
};

void* TrackedAlloc(std::size_t size, const char* file, int line);
void* TrackedAllocZero(std::size_t size, const char* file, int line);
void TrackedFree(void* data);
// On failure the old block stays valid and null is returned.
void* TrackedRealloc(void* data, std::size_t size, const char* file, int line);

// 0 when every live header is intact, else -1 after logging the first bad one.
int CheckAllocation();
// Writes every live block and the totals to the log.
void DumpAllocations();
// Writes the totals line; returns the log's result (-1).
int LogAllocationTotals();
// Writes one block line.
void LogAllocationBlock(const TrackedBlockHeader* header);

// Live totals, for callers that check for leaks.
std::int64_t GetTrackedByteTotal();
int GetTrackedBlockCount();

// Diagnostic switches (all off by default).
void SetTrackedTraceAll(int on);
void SetTrackedTraceSize(int size);
void SetTrackedLogTotals(int on);
void SetTrackedCheckAll(int on);
