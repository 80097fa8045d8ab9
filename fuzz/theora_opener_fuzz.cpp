// Opens a Theora movie held in memory as far as the opener goes before
// the decoding thread is needed: the "OggS" check, the Ogg page walk and
// the three header reads, then the scan of every page into the page table
// and the key-frame table.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "media/theora_context.h"

namespace {

struct MemoryFile {
  const std::uint8_t* bytes;
  std::size_t size;
  std::size_t position;
};

MemoryFile g_file;

LONG Tell(FileHandle) { return static_cast<LONG>(g_file.position); }

int Seek(FileHandle, LONG offset, int origin) {
  const std::int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<std::int64_t>(g_file.position)
                                                          : static_cast<std::int64_t>(g_file.size);
  const std::int64_t target = base + offset;
  if (target < 0 || target > static_cast<std::int64_t>(g_file.size)) return -1;
  g_file.position = static_cast<std::size_t>(target);
  return 0;
}

std::int64_t Read(void* destination, std::size_t itemSize, std::size_t count, FileHandle) {
  if (itemSize == 0) return 0;
  const std::size_t items = std::min(count, (g_file.size - g_file.position) / itemSize);
  std::memcpy(destination, g_file.bytes + g_file.position, items * itemSize);
  g_file.position += items * itemSize;
  return static_cast<std::int64_t>(items);
}

int Eof(FileHandle) { return g_file.position >= g_file.size ? 1 : 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  g_file = {bytes, size, 0};
  FileAccessTable files{};
  files.tell = Tell;
  files.seek = Seek;
  files.read = Read;
  files.eof = Eof;
  TheoraContext* context = OpenTheoraStream(&files, 1);
  if (context == nullptr) return 0;
  ScanTheoraFrames(context);
  CloseTheoraMovie(context);
  return 0;
}
