#include "core/window/dropped_files.h"

#include "platform/shell32.h"
#include "core/base/tracked_allocator.h"

namespace {

struct DroppedFiles {
  char* names[kMaxDroppedFiles];
  int count;
};

DroppedFiles g_dropped;

constexpr UINT kQueryCount = 0xFFFFFFFFu;

}  // namespace

void StoreDroppedFiles(HDROP drop) {
  const UINT count = DragQueryFileA(drop, kQueryCount, nullptr, 0);
  for (UINT i = 0; i < count && g_dropped.count < kMaxDroppedFiles; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    char* name = static_cast<char*>(TrackedAlloc(length + 1, "", 0));
    if (name == nullptr) break;
    DragQueryFileA(drop, i, name, length + 1);
    g_dropped.names[g_dropped.count++] = name;
  }
  DragFinish(drop);
}

int FreeDroppedFileNames() {
  for (int i = 0; i < g_dropped.count; ++i) TrackedFree(g_dropped.names[i]);
  g_dropped.count = 0;
  return 0;
}
