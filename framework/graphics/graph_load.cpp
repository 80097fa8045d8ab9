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

#include "core/base/log_file.h"
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

namespace {

// A copy of the picture, kept with the graph's image so that the graph can
// be filled again after the device is rebuilt; 0 or -1.
int KeepPicture(const BaseImage* image, BaseImage** kept) {
  const std::size_t bytes = static_cast<std::size_t>(image->pitch) * image->height;
  auto* copy = static_cast<BaseImage*>(TrackedAllocZero(sizeof(BaseImage), __FILE__, __LINE__));
  if (copy == nullptr) return -1;
  *copy = *image;
  copy->pixels = TrackedAlloc(bytes, __FILE__, __LINE__);
  if (copy->pixels == nullptr) {
    TrackedFree(copy);
    return -1;
  }
  std::memcpy(copy->pixels, image->pixels, bytes);
  *kept = copy;
  return 0;
}

// A graph holding the picture; with keepPixels (no file to reload it from)
// the graph's image keeps a copy for the restore after a device rebuild.
int MakeGraph(BaseImage* image, BaseImage* alpha, int flag, bool keepPixels) {
  UpdateColorFormatUnusedMask(&image->format);
  if (alpha != nullptr) UpdateColorFormatUnusedMask(&alpha->format);
  const int handle = CreateGraphFromImageInfo(image, alpha, flag);
  if (handle < 0) return -1;
  const RECT whole{0, 0, image->width, image->height};
  if (TransferImageToGraph(handle, whole, 0, 0, image, alpha, UseTransparentColor, 1) != 0) {
    DeleteGraph(handle);
    return -1;
  }
  if (keepPixels) {
    GraphImageInfo* info = FindGraphRecord(handle)->image;
    if (DecompressBaseImage(image) != 0 || KeepPicture(image, &info->keptImage) != 0 ||
        (alpha != nullptr && (DecompressBaseImage(alpha) != 0 || KeepPicture(alpha, &info->keptAlpha) != 0))) {
      LogWrite("グラフィックのオリジナル画像データ保存用メモリの確保に失敗しました\n");
      DeleteGraph(handle);
      return -1;
    }
  }
  return handle;
}

int CutPicture(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width, int height,
               int* handles, int flag, bool keepPixels) {
  const int whole = MakeGraph(image, alpha, flag, keepPixels);
  if (whole < 0) return -1;
  int made = 0;
  for (int row = 0; row < down && made < total; ++row) {
    for (int column = 0; column < across && made < total; ++column, ++made) {
      handles[made] = DeriveGraph(column * width, row * height, width, height, whole);
      if (handles[made] < 0) {
        LogWrite("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
        for (int i = 0; i < made; ++i) DeleteGraph(handles[i]);
        DeleteGraph(whole);
        return -1;
      }
    }
  }
  DeleteGraph(whole);
  return 0;
}

}  // namespace

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
  return MakeGraph(image, alpha, flag, true);
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
  const int handle = MakeGraph(&image, loaded == 0 ? &alpha : nullptr, !flag, false);
  if (handle >= 0) {
    SetGraphFileName(handle, fileName, -1);
    FindGraphRecord(handle)->loadFlag = !flag;
  }
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return handle;
}

int DeriveGraph(int x, int y, int width, int height, int source) {
  if (DrawSuspended) return 0;
  GraphRecord* from = FindGraphRecord(source);
  if (from == nullptr || x < 0 || y < 0 || x >= from->width || y >= from->height || width < 1 || height < 1)
    return -1;
  width = std::min(width, from->width - x);
  height = std::min(height, from->height - y);
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
    DeleteGraph(handle);
    return -1;
  }
  return handle;
}

int CreateDivGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width,
                                 int height, int* handles, int flag) {
  return CutPicture(image, alpha, total, across, down, width, height, handles, flag, true);
}

int LoadDivGraph(const char* fileName, int total, int across, int down, int width, int height, int* handles,
                 int flag) {
  if (!IsGraphicsStarted() || fileName == nullptr || handles == nullptr) return -1;
  WaitWhileInactive();
  BaseImage image{}, alpha{};
  const int loaded = LoadImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0);
  if (loaded < 0) return LogWriteFormat("右記のグラフィックファイルのロードに失敗しました：%s", fileName), -1;
  const int result = CutPicture(&image, loaded == 0 ? &alpha : nullptr, total, across, down, width, height,
                                handles, !flag, false);
  // Only the handles the cut made get the name (one block they share); a
  // request past the grid leaves the rest of the array alone.
  const int made = result == 0 ? std::min(total, across * down) : 0;
  for (int i = 0; i < made; ++i) {
    SetGraphFileName(handles[i], i == 0 ? fileName : nullptr, handles[0]);
    FindGraphRecord(handles[i])->loadFlag = !flag;
  }
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return result;
}
