// The DirectShow player of movie handles. The filter graph and the movie
// renderer are not built here yet: opening fails as on a machine without
// the filter graph component, so every movie handle is a Theora movie and
// the run, pause and update steps below have no graph to drive.
#include "media/directshow_movie.h"

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"

namespace {

void ReleaseInterface(IUnknown** object) {
  if (*object != nullptr) (*object)->Release();
  *object = nullptr;
}

}  // namespace

int OpenDirectShowMovie(MovieRecord* record, const char* /*path*/, int* /*width*/, int* /*height*/,
                        int /*outputMode*/) {
  record->frameUpdated = 0;
  record->frameImage.pixels = nullptr;
  record->windowParams = {};
  LogWrite("CLSID_FilterGraph の作成に失敗しました");
  return -1;
}

void UpdateDirectShowMovie(MovieRecord* /*record*/) {}

int PauseDirectShowMovie(MovieRecord* /*record*/) { return -1; }

void RunDirectShowMovie(MovieRecord* /*record*/) {}

void ReleaseDirectShowMovie(MovieRecord* record) {
  if (record->temporaryFile) {
    DeleteFileW(record->renderedPath);
    record->temporaryFile = 0;
  }
  if (record->frameImage.pixels != nullptr) {
    TrackedFree(record->frameImage.pixels);
    record->frameImage.pixels = nullptr;
  }
  ReleaseInterface(&record->basicAudio);
  auto* seeking = static_cast<IUnknown*>(record->seeking);
  ReleaseInterface(&seeking);
  record->seeking = nullptr;
  ReleaseInterface(&record->control);
  ReleaseInterface(&record->graph);
}
