// Archive images from outside: opened from memory under the no-string and
// fall-back keys, every file found by a tree walk is read, and the image
// must come back as it was given.
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "archive_listing.h"
#include "core/files/archive_reader.h"

namespace {

// Files larger than this are only looked up, not read, so a claimed size
// cannot exhaust the fuzzer's memory.
constexpr DWORD kLargestRead = 16u << 20;

void ReadEveryFile(ArchiveState* archive) {
  wqa::ForEachArchiveItem(archive, [&](const wqa::ArchiveItem& item) {
    if (item.directory || item.record->size > kLargestRead) return;
    std::vector<std::uint8_t> data(item.record->size);
    LoadArchiveFileData(archive, item.record, data.data());
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  std::vector<std::uint8_t> image(data, data + size);
  ArchiveState archive{};
  if (OpenArchiveFromMemory(&archive, image.data(), static_cast<DWORD>(size), nullptr) != 0) {
    if (size > 0 && std::memcmp(image.data(), data, size) != 0) __builtin_trap();
    return 0;
  }
  try {
    ReadEveryFile(&archive);
  } catch (const std::runtime_error&) {
    // Damaged tables end the walk; the reader has refused them.
  }
  CloseArchive(&archive);
  if (size > 0 && std::memcmp(image.data(), data, size) != 0) __builtin_trap();
  return 0;
}
