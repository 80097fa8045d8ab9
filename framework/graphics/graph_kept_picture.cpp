// Kept pictures: copies of what a graph without a file shows, in the
// layout of the image they came from, for the restore after a rebuild.
#include "graphics/graph_kept_picture.h"

#include <cstring>

#include "core/base/tracked_allocator.h"

namespace {

void FreeKept(BaseImage** image) {
  if (*image == nullptr) return;
  ReleaseBaseImage(*image);
  TrackedFree(*image);
  *image = nullptr;
}

// A copy of the image (decompressed first); 0 or -1.
int CopyPicture(BaseImage* image, BaseImage** kept) {
  if (DecompressBaseImage(image) != 0) return -1;
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

// A cleared 32-bit picture of the whole image, with alpha when the source
// has it; 0 or -1.
int MakeClearedPicture(const GraphImageInfo* info, const BaseImage* like, BaseImage** kept) {
  auto* picture = static_cast<BaseImage*>(TrackedAllocZero(sizeof(BaseImage), __FILE__, __LINE__));
  if (picture == nullptr) return -1;
  const int made = like->format.alphaWidth != 0 ? CreateArgbBaseImage(info->width, info->height, picture)
                                                 : CreateXrgbBaseImage(info->width, info->height, picture);
  if (made != 0) {
    TrackedFree(picture);
    return -1;
  }
  ClearBaseImageRect(picture, 0, 0, info->width, info->height);
  *kept = picture;
  return 0;
}

int KeepRect(const GraphImageInfo* info, BaseImage* image, BaseImage** kept, int x, int y) {
  if (DecompressBaseImage(image) != 0) return -1;
  if (*kept == nullptr && MakeClearedPicture(info, image, kept) != 0) return -1;
  return CopyBaseImageRect(0, 0, image->width, image->height, x, y, image, *kept);
}

}  // namespace

int KeepWholePicture(GraphImageInfo* info, BaseImage* image, BaseImage* alpha) {
  FreeKeptPicture(info);
  if (CopyPicture(image, &info->keptImage) != 0 || (alpha != nullptr && CopyPicture(alpha, &info->keptAlpha) != 0)) {
    FreeKeptPicture(info);
    return -1;
  }
  return 0;
}

int KeepGraphPicture(GraphRecord* record, BaseImage* image, BaseImage* alpha) {
  GraphImageInfo* info = record->image;
  if (info->refCount == 1 && record->width == info->width && record->height == info->height)
    return KeepWholePicture(info, image, alpha);
  if (KeepRect(info, image, &info->keptImage, record->imageX, record->imageY) != 0) return -1;
  return alpha != nullptr ? KeepRect(info, alpha, &info->keptAlpha, record->imageX, record->imageY) : 0;
}

void FreeKeptPicture(GraphImageInfo* info) {
  FreeKept(&info->keptImage);
  FreeKept(&info->keptAlpha);
}
