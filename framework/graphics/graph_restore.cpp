// Graphs across a device rebuild. Handles, records and file names stay;
// textures are released with the old device and made anew, then the
// pixels come back: from the graph's file (one read per file for graphs
// cut from it), or from the picture a graph made from a base image keeps.
#include "graphics/graph_restore.h"

#include <cstring>
#include <unordered_set>

#include "WqLib.h"
#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/graph_transfer.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/user_buffers.h"

namespace {

// Calls visit(record) for every live graph, in slot order.
template <typename Visit>
void ForEachGraph(Visit visit) {
  const int end = GraphSlotEnd();
  for (int slot = 0; slot < end; ++slot) {
    if (GraphRecord* record = GraphRecordAt(slot)) visit(record);
  }
}

// The picture of one file, kept while the following graphs come from it.
struct LoadedFile {
  char path[MAX_PATH];
  int loadFlag;
  int loadReverse;
  int result;  // of the load: -1 failed, 0 with alpha, 1 without
  BaseImage image, alpha;

  void Release() {
    if (result >= 0) ReleaseBaseImage(&image);
    if (result == 0) ReleaseBaseImage(&alpha);
    result = -1;
    path[0] = '\0';
  }
};

}  // namespace

void ReleaseAllGraphTextures() {
  ForEachGraph([](GraphRecord* record) { ReleaseImageInfoTextures(record->image); });
  ReleaseAllUserBufferObjects();
}

int RecreateDeviceObjects() {
  ForEachGraph([](GraphRecord* record) { CreateGraphTextures(record->image); });
  RecreateAllUserBufferObjects();
  return 0;
}

void RestoreGraphsFromFiles() {
  LogWrite("グラフィックを復帰します\n");
  LoadedFile file{};
  file.result = -1;
  bool loaded = false;  // the previous graph handled loaded its file
  ForEachGraph([&](GraphRecord* record) {
    if (record->fileName == nullptr) return;
    const char* path = record->fileName->path;
    if (!loaded || std::strcmp(path, file.path) != 0 || record->loadFlag != file.loadFlag ||
        record->loadReverse != file.loadReverse) {
      file.Release();
      file.result =
          LoadImageWithAlpha(path, nullptr, 0, 0, nullptr, 0, 0, &file.image, &file.alpha, record->loadReverse);
      std::strncpy(file.path, path, MAX_PATH - 1);
      file.loadFlag = record->loadFlag;
      file.loadReverse = record->loadReverse;
      loaded = file.result >= 0;
      if (!loaded) {
        LogWriteFormat("ファイル:%s がロードできませんでした", path);
        return;
      }
    }
    SetGraphImage(nullptr, nullptr, nullptr, nullptr, path, 0, &file.image, file.result == 0 ? &file.alpha : nullptr,
                  record->fileX, record->fileY, record->handle, record->loadFlag);
  });
  file.Release();
}

void RestoreKeptGraphPictures() {
  std::unordered_set<const GraphImageInfo*> done;
  ForEachGraph([&](GraphRecord* record) {
    GraphImageInfo* info = record->image;
    if (info->keptImage == nullptr || !done.insert(info).second) return;
    const RECT whole{0, 0, info->width, info->height};
    TransferImageToGraph(record->handle, whole, 0, 0, info->keptImage, info->keptAlpha, UseTransparentColor, 1);
  });
}

void MoveGraphImagesToMemory() {
  const int colorBits = Screen().colorBits == 16 ? 16 : 32;
  ForEachGraph([&](GraphRecord* record) {
    GraphImageInfo* info = record->image;
    // A graph whose image cannot be made keeps no pixels, but it stays a
    // graph that draws nothing rather than one that points at a device.
    if (info->inTextures) {
      ReleaseImageInfoTextures(info);
      info->drawable = static_cast<std::uint8_t>(!info->blendImage);
      CreateSoftwareImage(info, colorBits);
    }
    TrackedFree(record->pieces);
    record->pieces = nullptr;
    record->pieceCount = 0;
    if (IsMemImgInUse(&info->image)) CreateGraphTextureDrawInfo(record->handle);
  });
}
