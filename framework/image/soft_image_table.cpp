// Deleting soft images. Nothing makes one yet; the table is emptied at
// shutdown all the same.
#include "image/soft_image_table.h"

#include "core/base/tracked_allocator.h"

namespace {

constexpr int kKindMask = 0x78000000;
constexpr int kCheckMask = 0x7FF;
constexpr int kIndexMask = 0xFFFF;

SoftImageTable g_softImages;

}  // namespace

SoftImageTable& GetSoftImageTable() { return g_softImages; }

int DeleteSoftImage(int handle) {
  if (handle < 0 || (handle & kKindMask) != kSoftImageHandleKind) return -1;
  int index = handle & kIndexMask;
  if (index >= kSoftImageSlotCount) return -1;
  SoftImageRecord* record = g_softImages.records[index];
  if (!record || record->check != static_cast<std::uint32_t>(handle >> 16 & kCheckMask)) return -1;
  ReleaseBaseImage(&record->image);
  --g_softImages.liveCount;
  if (index == g_softImages.usedEnd - 1) {
    int end = index;
    while (end > 0 && !g_softImages.records[end - 1]) --end;
    g_softImages.usedEnd = end;
  }
  TrackedFree(record);
  g_softImages.records[index] = nullptr;
  return 0;
}

int DeleteAllSoftImages() {
  for (int index = g_softImages.usedEnd - 1; index >= 0; --index) {
    SoftImageRecord* record = g_softImages.records[index];
    if (record) DeleteSoftImage(kSoftImageHandleKind | static_cast<int>((record->check & kCheckMask) << 16) | index);
  }
  return 0;
}

int EndSoftImages() { return DeleteAllSoftImages(); }
