// Graphs from base images and image files, and movie graphs for files that
// no image reader takes.
//
// The alpha of a picture: an image with an alpha channel (or an alpha
// companion file) is stored with its alpha and draws blended in the default
// mode; an image without alpha, made while colour keying is on, is stored in
// a texture format with one-bit alpha, its key colour turned transparent,
// and drawn with the alpha test; any other image is opaque.
#include "graphics/graph_load.h"

#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "core/files/file_access_table.h"
#include "core/window/message_pump.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/render_state.h"
#include "graphics/graph_transfer.h"
#include "graphics/graphics_start.h"
#include "graphics/movie_graph_frame.h"
#include "graphics/screen_mode.h"
#include "media/movie_record.h"

int SetGraphFileName(int handle, const char* fileName) {
  GraphRecord* record = FindGraphRecord(handle);
  if (record == nullptr) return -1;
  const std::size_t length = std::strlen(fileName);
  auto* block = static_cast<GraphFileName*>(TrackedAlloc(sizeof(GraphFileName) + length, __FILE__, __LINE__));
  if (block == nullptr) return -1;
  block->refCount = 1;
  std::memcpy(block->path, fileName, length + 1);
  ReleaseGraphFileName(record);
  record->fileName = block;
  return 0;
}

int CreateGraphFromImageInfo(BaseImage* image, BaseImage* alpha, int /*flag*/) {
  if (!IsGraphicsStarted()) return -1;
  if (alpha != nullptr && (alpha->width != image->width || alpha->height != image->height)) return -1;
  WaitWhileInactive();
  const int handle = AllocGraphHandle();
  const int alphaChannel = image->format.alphaWidth != 0 || alpha != nullptr ? 1 : 0;
  const int colorKeyed = !alphaChannel && UseTransparentColor ? 1 : 0;
  const int mips = image->mipCount > 1 ? static_cast<int>(image->mipCount) : -1;
  if (SetupGraphRecord(mips, handle, image->width, image->height, alphaChannel, colorKeyed) != 0) return -1;
  return handle;
}

int CreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int flag) {
  UpdateColorFormatUnusedMask(&image->format);
  if (alpha != nullptr) UpdateColorFormatUnusedMask(&alpha->format);
  const int handle = CreateGraphFromImageInfo(image, alpha, flag);
  if (handle < 0) return -1;
  const RECT whole{0, 0, image->width, image->height};
  if (TransferImageToGraph(handle, whole, 0, 0, image, alpha, UseTransparentColor, 1) != 0) {
    DeleteGraphRecord(handle);
    return -1;
  }
  return handle;
}

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

int LoadGraph(const char* fileName, int flag) {
  if (!IsGraphicsStarted() || fileName == nullptr) return -1;
  WaitWhileInactive();
  BaseImage image{}, alpha{};
  const int loaded = LoadImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0);
  if (loaded < 0) {
    const FileHandle file = FileAccessOpen(fileName, 0, 0, 0);
    if (file == 0) return LogWriteFormat("グラフィックファイル %s がありません", fileName), -1;
    FileAccessClose(file);
    return LoadMovieGraph(fileName, 0);
  }
  const int handle = CreateGraphFromGraphImage(&image, loaded == 0 ? &alpha : nullptr, !flag);
  if (handle >= 0) SetGraphFileName(handle, fileName);
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return handle;
}

int DeriveGraph(int x, int y, int width, int height, int source) {
  GraphRecord* from = FindGraphRecord(source);
  if (from == nullptr || width < 1 || height < 1 || x < 0 || y < 0 || x + width > from->width ||
      y + height > from->height)
    return -1;
  const int handle = AllocGraphHandle();
  GraphRecord* record = FindGraphRecord(handle);
  from = FindGraphRecord(source);
  record->image = from->image;
  ++record->image->refCount;
  record->fileName = from->fileName;
  if (record->fileName != nullptr) ++record->fileName->refCount;
  record->loadFlag = from->loadFlag;
  record->imageX = from->imageX + x;
  record->imageY = from->imageY + y;
  record->fileX = from->fileX + x;
  record->fileY = from->fileY + y;
  record->width = width;
  record->height = height;
  if (CreateGraphTextureDrawInfo(handle) != 0) {
    DeleteGraphRecord(handle);
    return -1;
  }
  return handle;
}

int CreateDivGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width,
                                 int height, int* handles, int flag) {
  const int whole = CreateGraphFromGraphImage(image, alpha, flag);
  if (whole < 0) return -1;
  int made = 0;
  for (int row = 0; row < down && made < total; ++row) {
    for (int column = 0; column < across && made < total; ++column, ++made) {
      handles[made] = DeriveGraph(column * width, row * height, width, height, whole);
      if (handles[made] < 0) {
        LogWrite("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
        for (int i = 0; i < made; ++i) DeleteGraphRecord(handles[i]);
        DeleteGraphRecord(whole);
        return -1;
      }
    }
  }
  DeleteGraphRecord(whole);
  return 0;
}

int LoadDivGraph(const char* fileName, int total, int across, int down, int width, int height, int* handles,
                 int flag) {
  if (!IsGraphicsStarted() || fileName == nullptr || handles == nullptr) return -1;
  WaitWhileInactive();
  BaseImage image{}, alpha{};
  const int loaded = LoadImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0);
  if (loaded < 0) return LogWriteFormat("右記のグラフィックファイルのロードに失敗しました：%s", fileName), -1;
  const int result =
      CreateDivGraphFromGraphImage(&image, loaded == 0 ? &alpha : nullptr, total, across, down, width, height, handles,
                                   !flag);
  // Only the handles the cut made get the name; a request past the grid
  // leaves the rest of the array alone.
  const int made = result == 0 ? std::min(total, across * down) : 0;
  for (int i = 0; i < made; ++i) SetGraphFileName(handles[i], fileName);
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return result;
}
