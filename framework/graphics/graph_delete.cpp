// Deleting graphs, the flag a deleted graph raises, and the file name a
// graph keeps for its restore after the device is rebuilt.
#include <cstring>

#include "WqLib.h"
#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "core/files/plain_file.h"
#include "graphics/draw_target.h"
#include "graphics/graph_kept_picture.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/graphics_start.h"
#include "graphics/vertex_batch.h"

namespace {

// The one place a graph's movie is closed with it.
void CloseGraphMovie(GraphRecord* record) {
  if (record->movie != -1) CloseMovie(record->movie);
  record->movie = -1;
}

void ReleaseImageInfo(GraphImageInfo* info) {
  if (info->inTextures)
    ReleaseImageInfoTextures(info);
  else if (IsMemImgInUse(&info->image))
    ReleaseMemImg(&info->image);
  FreeKeptPicture(info);
  TrackedFree(info);
}

}  // namespace

int DeleteGraph(int graph) {
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  FlushVertexBatch();
  // Drawing must not go on into a graph that is gone.
  if (GetDrawTarget() == graph) SelectDrawTarget(kBackScreen);
  CloseGraphMovie(record);
  GraphImageInfo* info = record->image;
  if (info != nullptr && !info->inTextures && IsMemImgInUse(&record->view)) ReleaseMemImg(&record->view);
  if (info != nullptr && --info->refCount == 0) ReleaseImageInfo(info);
  record->image = nullptr;
  TrackedFree(record->pieces);
  record->pieces = nullptr;
  SetGraphFileName(graph, nullptr, -1);
  int* notify = record->deleteNotify;
  FreeGraphHandle(graph);
  if (notify != nullptr) *notify = 1;
  return 0;
}

int DeleteAllGraphs() {
  if (!IsGraphicsStarted()) return 0;
  for (int slot = GraphSlotEnd() - 1; slot >= 0; --slot) {
    if (GraphRecord* record = GraphRecordAt(slot)) DeleteGraph(record->handle);
  }
  return 0;
}

int SetGraphDeleteNotifyFlag(int graph, int* flag) {
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  record->deleteNotify = flag;
  if (flag != nullptr) *flag = 0;
  return 0;
}

int SetGraphFileName(int graph, const char* path, int other) {
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  GraphFileName* shared = nullptr;
  if (path == nullptr && other != -1) {
    const GraphRecord* from = FindGraphRecord(other);
    if (from == nullptr) return -1;
    shared = from->fileName;
  }
  GraphFileName* block = nullptr;
  if (path != nullptr) {
    char full[MAX_PATH];
    if (ResolveFullPath(path, full, nullptr) != 0) return -1;
    const std::size_t length = std::strlen(full);
    block = static_cast<GraphFileName*>(TrackedAlloc(sizeof(GraphFileName) + length, __FILE__, __LINE__));
    if (block == nullptr)
      return LogWrite("転送する画像ファイルのファイル名を保存するメモリ領域の確保に失敗しました\n"), -1;
    block->refCount = 1;
    std::memcpy(block->path, full, length + 1);
  } else if (shared != nullptr) {
    block = shared;
    ++block->refCount;
  }
  if (record->fileName != nullptr && --record->fileName->refCount == 0) TrackedFree(record->fileName);
  record->fileName = block;
  return 0;
}
