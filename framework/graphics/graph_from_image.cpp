// Graphs from base images and image files held in memory, graphs without
// pixels, graphs cut from a picture, and new pictures put into graphs.
//
// The alpha of a picture: an image with an alpha channel (or an alpha
// image) is stored with its alpha and draws blended in the default mode;
// an image without alpha, made while colour keying is on, is stored in a
// texture format with one-bit alpha, its key colour turned transparent,
// and drawn with the alpha test; any other image is opaque.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/base/log_file.h"
#include "core/window/message_pump.h"
#include "graphics/graph_creation_settings.h"
#include "graphics/graph_kept_picture.h"
#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/graph_transfer.h"
#include "graphics/graphics_start.h"
#include "graphics/render_state.h"

namespace {

// Mirrors the images left to right for as long as it lives, when asked.
class MirroredForNow {
 public:
  MirroredForNow(BaseImage* image, BaseImage* alpha, bool mirror) : image_(image), alpha_(alpha), mirror_(mirror) {
    Flip();
  }
  ~MirroredForNow() { Flip(); }
  MirroredForNow(const MirroredForNow&) = delete;
  MirroredForNow& operator=(const MirroredForNow&) = delete;

 private:
  void Flip() {
    if (!mirror_) return;
    MirrorBaseImage(image_);
    if (alpha_ != nullptr) MirrorBaseImage(alpha_);
  }
  BaseImage* image_;
  BaseImage* alpha_;
  bool mirror_;
};

bool SameSize(const BaseImage* image, const BaseImage* alpha, int width, int height) {
  return image->width == width && image->height == height &&
         (alpha == nullptr || (alpha->width == width && alpha->height == height));
}

}  // namespace

int MakePictureGraph(BaseImage* image, BaseImage* alpha, int flag, bool keepPixels) {
  UpdateColorFormatUnusedMask(&image->format);
  if (alpha != nullptr) UpdateColorFormatUnusedMask(&alpha->format);
  const int handle = CreateGraphFromImageInfo(image, alpha, flag);
  if (handle < 0) return -1;
  const RECT whole{0, 0, image->width, image->height};
  if (TransferImageToGraph(handle, whole, 0, 0, image, alpha, UseTransparentColor, 1) != 0) {
    DeleteGraph(handle);
    return -1;
  }
  if (keepPixels && KeepWholePicture(FindGraphRecord(handle)->image, image, alpha) != 0) {
    LogWrite("グラフィックのオリジナル画像データ保存用メモリの確保に失敗しました\n");
    DeleteGraph(handle);
    return -1;
  }
  return handle;
}

int CutPictureIntoGraphs(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width, int height,
                         int* handles, int flag, int reverse, int reverseHere, bool keepPixels) {
  if (handles == nullptr && total > 0) return -1;
  int whole;
  {
    const MirroredForNow mirrored(image, alpha, reverse == 1 && reverseHere == 1);
    whole = MakePictureGraph(image, alpha, flag, keepPixels);
  }
  if (whole < 0) return -1;
  int made = 0;
  for (int row = 0; row < down && made < total; ++row) {
    for (int column = 0; column < across && made < total; ++column, ++made) {
      // Mirrored pictures are walked from their right-hand column.
      const std::int64_t x = std::int64_t{reverse == 1 ? across - 1 - column : column} * width;
      const std::int64_t y = std::int64_t{row} * height;
      handles[made] = x <= INT_MAX && y <= INT_MAX
                          ? DeriveGraph(static_cast<int>(x), static_cast<int>(y), width, height, whole)
                          : -1;
      if (handles[made] < 0) {
        LogWrite("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
        for (int i = 0; i < made; ++i) DeleteGraph(handles[i]);
        DeleteGraph(whole);
        return -1;
      }
    }
  }
  DeleteGraph(whole);
  return made;
}

int CreateGraphFromImageInfo(BaseImage* image, BaseImage* alpha, int /*flag*/) {
  if (!IsGraphicsStarted() || image == nullptr || image->width < 1 || image->height < 1) return -1;
  if (alpha != nullptr && (alpha->width != image->width || alpha->height != image->height)) return -1;
  WaitWhileInactive();
  const int handle = AllocGraphHandle();
  const int alphaChannel = image->format.alphaWidth != 0 || alpha != nullptr ? 1 : 0;
  const int colorKeyed = !alphaChannel && UseTransparentColor ? 1 : 0;
  const int mips = image->mipCount > 1 ? static_cast<int>(image->mipCount) : -1;
  if (SetupGraphRecord(mips, handle, image->width, image->height, alphaChannel, colorKeyed) != 0) return -1;
  return handle;
}

int CreateEmptyGraph(int width, int height) {
  if (!IsGraphicsStarted() || width < 1 || height < 1) return -1;
  WaitWhileInactive();
  const int handle = AllocGraphHandle();
  if (SetupGraphRecord(-1, handle, width, height, GraphCreation().alphaFlag, 0) != 0) return -1;
  return handle;
}

int CreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int flag, int reverse, int reverseHere) {
  if (image == nullptr) return -1;
  const MirroredForNow mirrored(image, alpha, reverse == 1 && reverseHere == 1);
  return MakePictureGraph(image, alpha, flag, true);
}

int ReCreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int handle, int /*flag*/, int reverse,
                                int reverseHere) {
  GraphRecord* record = FindGraphRecord(handle);
  if (!IsGraphicsStarted() || record == nullptr || image == nullptr ||
      !SameSize(image, alpha, record->width, record->height))
    return -1;
  const MirroredForNow mirrored(image, alpha, reverse == 1 && reverseHere == 1);
  UpdateColorFormatUnusedMask(&image->format);
  if (alpha != nullptr) UpdateColorFormatUnusedMask(&alpha->format);
  const RECT whole{0, 0, image->width, image->height};
  if (TransferImageToGraph(handle, whole, 0, 0, image, alpha, UseTransparentColor, 0) != 0) return -1;
  // The file no longer tells what the graph shows; its new picture does.
  SetGraphFileName(handle, nullptr, -1);
  if (KeepGraphPicture(record, image, alpha) != 0)
    return LogWrite("グラフィックのオリジナル画像データ保存用メモリの確保に失敗しました\n"), -1;
  return 0;
}

int ReCreateGraphFromBaseImage(BaseImage* image, int handle) {
  return ReCreateGraphFromGraphImage(image, nullptr, handle, 0, 0, 0);
}

namespace {

// Loads a picture (and its alpha image) from memory; the loader's result.
int LoadMemoryPicture(const void* data, int size, const void* alphaData, int alphaSize, int reverse,
                      BaseImage* image, BaseImage* alpha) {
  if (data == nullptr || size < 1) return -1;
  if (alphaData == nullptr || alphaSize < 1) alphaSize = 0;
  return LoadImageWithAlpha(nullptr, data, size, 1, alphaSize != 0 ? alphaData : nullptr, alphaSize,
                            alphaSize != 0 ? 1 : 2, image, alpha, reverse == 1);
}

}  // namespace

int CreateGraphFromMemImage(const void* data, int size, const void* alphaData, int alphaSize, int flag,
                            int reverse) {
  if (!IsGraphicsStarted()) return -1;
  BaseImage image{}, alpha{};
  const int loaded = LoadMemoryPicture(data, size, alphaData, alphaSize, reverse, &image, &alpha);
  if (loaded < 0) return -1;
  // The loader has mirrored the picture already.
  const int handle = CreateGraphFromGraphImage(&image, loaded == 0 ? &alpha : nullptr, flag, reverse, 0);
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return handle;
}

int ReCreateGraphFromMemImage(const void* data, int size, int handle, const void* alphaData, int alphaSize,
                              int flag, int reverse) {
  if (!IsGraphicsStarted() || FindGraphRecord(handle) == nullptr) return -1;
  BaseImage image{}, alpha{};
  const int loaded = LoadMemoryPicture(data, size, alphaData, alphaSize, reverse, &image, &alpha);
  if (loaded < 0) return -1;
  const int result = ReCreateGraphFromGraphImage(&image, loaded == 0 ? &alpha : nullptr, handle, flag, reverse, 0);
  ReleaseBaseImage(&image);
  if (loaded == 0) ReleaseBaseImage(&alpha);
  return result;
}

int CreateDivGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width,
                                 int height, int* handles, int flag, int reverse, int reverseHere) {
  if (image == nullptr) return -1;
  return CutPictureIntoGraphs(image, alpha, total, across, down, width, height, handles, flag, reverse, reverseHere,
                              true) < 0
             ? -1
             : 0;
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
  record->loadReverse = from->loadReverse;
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
