// Graphs from image files, whole or cut into equal pieces, and movie
// graphs for files that no image reader takes. Graphs loaded from a file
// keep its name and their place in its picture, for the restore after a
// device rebuild.
#include "graphics/graph_load.h"

#include <algorithm>

#include "core/base/log_file.h"
#include "core/files/file_access_table.h"
#include "core/window/message_pump.h"
#include "graphics/graph_creation_settings.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/graph_transfer.h"
#include "graphics/graphics_start.h"
#include "graphics/movie_graph_frame.h"
#include "graphics/screen_mode.h"
#include "media/movie_record.h"

namespace {

// Notes the file, the load flag and the mirroring with a graph made from it.
void NoteSource(int handle, const char* fileName, int shareWith, int flag, int reverse) {
  SetGraphFileName(handle, shareWith < 0 ? fileName : nullptr, shareWith);
  GraphRecord* record = FindGraphRecord(handle);
  record->loadFlag = flag;
  record->loadReverse = reverse == 1 ? 1 : 0;
}

// A graph of the movie's frame size that shows the movie opened from the
// file (its frame follows the movie at every draw); handle or -1.
int LoadMovieGraph(const char* fileName, int movieParam) {
  int width = 0, height = 0;
  const int movie = OpenMovie(fileName, &width, &height, movieParam);
  if (movie < 0) return LogWriteFormat("右記のグラフィックファイルのロードに失敗しました：%s \n", fileName), -1;
  MovieRecord* record = GetMovieRecord(movie);
  // The frame graph: one texture (or MEMIMG) of the screen's depth, no
  // alpha, a system-memory copy for the frames that are copied in.
  const GraphCreationSettings saved = GraphCreation();
  GraphCreation().colorBits = Screen().colorBits != 0 ? Screen().colorBits : 16;
  GraphCreation().movieFlag = 1;
  GraphCreation().systemMemCopyFlag = 1;
  GraphCreation().drawableFlag = 0;
  GraphCreation().oneTexture = 1;
  const int handle = AllocGraphHandle();
  const int alpha = record->currentImage->format.alphaWidth != 0 ? 1 : 0;
  const int setup = SetupGraphRecord(-1, handle, width, height, alpha, 0);
  GraphCreation() = saved;
  if (setup != 0) {
    CloseMovie(movie);
    return LogWriteFormat("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：%s", fileName), -1;
  }
  FindGraphRecord(handle)->movie = movie;
  SetMovieUpdateCallback(movie, UpdateMovieGraphFrame, handle);
  // The movie opened with frame 0 converted; the graph shows it from the
  // first draw on, before the frame first changes.
  const RECT whole{0, 0, width, height};
  TransferImageToGraph(handle, whole, 0, 0, record->currentImage, nullptr, 0, 1);
  return handle;
}

}  // namespace

int LoadGraphOrMovie(const char* fileName, int flag, int reverse, int movieParam) {
  if (!IsGraphicsStarted() || fileName == nullptr) return -1;
  WaitWhileInactive();
  BaseImage image{}, alpha{};
  const int loaded = LoadImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, reverse == 1);
  if (loaded < 0) {
    const FileHandle file = FileAccessOpen(fileName, 0, 0, 0);
    if (file == 0) return LogWriteFormat("グラフィックファイル %s がありません", fileName), -1;
    FileAccessClose(file);
    return LoadMovieGraph(fileName, movieParam);
  }
  // The file gives the pixels back after a rebuild; nothing is kept.
  const int handle = MakePictureGraph(&image, loaded == 0 ? &alpha : nullptr, flag, false);
  if (handle >= 0) NoteSource(handle, fileName, -1, flag, reverse);
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return handle;
}

int LoadGraph(const char* fileName, int flag) { return LoadGraphOrMovie(fileName, !flag, 0, 0); }

int LoadDivGraphCore(const char* fileName, int total, int across, int down, int width, int height, int* handles,
                     int flag, int reverse) {
  if (!IsGraphicsStarted() || fileName == nullptr || (handles == nullptr && total > 0)) return -1;
  WaitWhileInactive();
  BaseImage image{}, alpha{};
  const int loaded = LoadImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, reverse == 1);
  if (loaded < 0) return LogWriteFormat("右記のグラフィックファイルのロードに失敗しました：%s", fileName), -1;
  // The picture is mirrored already; the cut walks it from the right.
  const int made = CutPictureIntoGraphs(&image, loaded == 0 ? &alpha : nullptr, total, across, down, width, height,
                                        handles, flag, reverse, 0, false);
  // Only the handles the cut made get the name (one block they share); a
  // request past the grid leaves the rest of the array alone.
  for (int i = 0; i < made; ++i) NoteSource(handles[i], fileName, i == 0 ? -1 : handles[0], flag, reverse);
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return made < 0 ? -1 : 0;
}

int LoadDivGraph(const char* fileName, int total, int across, int down, int width, int height, int* handles,
                 int flag) {
  return LoadDivGraphCore(fileName, total, across, down, width, height, handles, !flag, 0);
}
