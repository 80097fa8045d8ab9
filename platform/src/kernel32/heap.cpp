// The process heap: malloc blocks behind a small header that keeps each
// block's size, so HeapSize answers and HeapReAlloc can zero what it adds.
#include <cstdlib>
#include <cstring>

#include "platform/kernel32_system.h"

namespace {

struct alignas(16) BlockHeader {
  SIZE_T size;
};

const HANDLE kProcessHeap = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(0x00150000));

BlockHeader* HeaderOf(LPCVOID memory) {
  return static_cast<BlockHeader*>(const_cast<LPVOID>(memory)) - 1;
}

bool CheckHeap(HANDLE heap) {
  if (heap == kProcessHeap) return true;
  SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

// The header plus the caller's bytes, or 0 when that does not fit a size.
SIZE_T BlockBytes(SIZE_T bytes) {
  return bytes > SIZE_MAX - sizeof(BlockHeader) ? 0 : sizeof(BlockHeader) + bytes;
}

LPVOID OutOfMemory() {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

}  // namespace

HANDLE GetProcessHeap() { return kProcessHeap; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!CheckHeap(heap)) return nullptr;
  const SIZE_T block_bytes = BlockBytes(bytes);
  if (block_bytes == 0) return OutOfMemory();
  void* block = (flags & HEAP_ZERO_MEMORY) != 0 ? std::calloc(1, block_bytes)
                                                 : std::malloc(block_bytes);
  if (block == nullptr) return OutOfMemory();
  auto* header = static_cast<BlockHeader*>(block);
  header->size = bytes;
  return header + 1;
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T bytes) {
  if (!CheckHeap(heap)) return nullptr;
  if (memory == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const SIZE_T block_bytes = BlockBytes(bytes);
  if (block_bytes == 0) return OutOfMemory();
  const SIZE_T old_size = HeaderOf(memory)->size;
  auto* header = static_cast<BlockHeader*>(std::realloc(HeaderOf(memory), block_bytes));
  if (header == nullptr) return OutOfMemory();
  header->size = bytes;
  if ((flags & HEAP_ZERO_MEMORY) != 0 && bytes > old_size) {
    std::memset(reinterpret_cast<BYTE*>(header + 1) + old_size, 0, bytes - old_size);
  }
  return header + 1;
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID memory) {
  if (!CheckHeap(heap)) return FALSE;
  if (memory != nullptr) std::free(HeaderOf(memory));
  return TRUE;
}

SIZE_T HeapSize(HANDLE heap, DWORD, LPCVOID memory) {
  if (!CheckHeap(heap) || memory == nullptr) return static_cast<SIZE_T>(-1);
  return HeaderOf(memory)->size;
}
