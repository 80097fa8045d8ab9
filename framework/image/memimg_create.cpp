// Creating, viewing and releasing software images.
#include <cstring>
#include <limits>

#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "image/memimg.h"

namespace {

constexpr int kPaletteBlockSize = 2048;
constexpr std::int64_t kMaxPlaneBytes = std::numeric_limits<std::int32_t>::max();

int BytesPerPixelFor(int colorType, int paletteFlag, int alphaFlag) {
  if (paletteFlag) return 1;
  switch (colorType) {
    case kMemImgRgb565:
      return alphaFlag ? 4 : 2;
    case kMemImgRgb32:
      return 4;
    case kMemImgChannel8:
      return 1;
    default:
      return 2;
  }
}

// The power of two that the row size rounds up to, when the pitch is exactly
// that power; -1 otherwise. rowSize is the caller's pitch, or the unpadded
// row when the pitch was chosen here.
int PitchLog2(std::int64_t rowSize, std::int64_t pitch) {
  std::int64_t power = 1;
  int log2 = 0;
  while (power < rowSize) {
    power *= 2;
    ++log2;
  }
  return pitch == power ? log2 : -1;
}

// The sizes of one image, worked out before anything is allocated so that a
// refused size allocates nothing.
struct MemImgSizes {
  std::int64_t pitch;
  std::int64_t pixelBytes;
  std::int64_t runLengthBytes;
  int pitchLog2;
};

int ComputeSizes(int width, int height, int pitch, int bytesPerPixel, int extraPlanes, MemImgSizes* sizes) {
  if (width < 0 || height < 0) return -1;
  const std::int64_t rowBytes = static_cast<std::int64_t>(bytesPerPixel) * width;
  sizes->pitch = pitch == -1 ? (rowBytes + 15) / 16 * 16 : pitch;
  if (sizes->pitch < 0 || sizes->pitch > kMaxPlaneBytes) return -1;
  sizes->pixelBytes = sizes->pitch * height;
  sizes->runLengthBytes = (static_cast<std::int64_t>(width) + 5) * height;
  if (sizes->pixelBytes > kMaxPlaneBytes) return -1;
  if (extraPlanes && sizes->runLengthBytes > kMaxPlaneBytes) return -1;
  sizes->pitchLog2 = PitchLog2(pitch == -1 ? rowBytes : pitch, sizes->pitch);
  return 0;
}

void* AllocateBytes(std::int64_t size, int zeroed) {
  const auto bytes = static_cast<std::size_t>(size);
  return zeroed ? TrackedAllocZero(bytes, "", 0) : TrackedAlloc(bytes, "", 0);
}

// Frees one buffer and clears its pointer.
void FreeBuffer(std::uint8_t** buffer) {
  if (*buffer) TrackedFree(*buffer);
  *buffer = nullptr;
}

// Frees the buffers a data record owns; the record itself stays.
void FreeDataBuffers(MemImgData* data) {
  if (data->callerOwnsPixels)
    data->pixelBuffer = nullptr;
  else
    FreeBuffer(&data->pixelBuffer);
  FreeBuffer(&data->premultipliedPlane);
  FreeBuffer(&data->runLengths);
  FreeBuffer(&data->palette);
  data->secondPalette = nullptr;
}

int AllocateBuffers(MemImgData* data, const MemImgSizes& sizes, int extraPlanes, std::uint8_t* pixelBuffer) {
  if (data->paletteFlag) {
    data->palette = static_cast<std::uint8_t*>(AllocateBytes(kPaletteBlockSize, 1));
    if (!data->palette) return -1;
    data->secondPalette = data->palette + kPaletteBlockSize / 2;
  }
  data->callerOwnsPixels = pixelBuffer ? 1 : 0;
  data->pixelBuffer = pixelBuffer ? pixelBuffer : static_cast<std::uint8_t*>(AllocateBytes(sizes.pixelBytes, 0));
  if (!data->pixelBuffer) return -1;
  if (!extraPlanes) return 0;
  if (data->alphaFlag && !data->premultipliedPlane) {
    data->premultipliedPlane = static_cast<std::uint8_t*>(AllocateBytes(sizes.pixelBytes, 0));
    if (!data->premultipliedPlane) return -1;
  }
  if (data->colorType != kMemImgChannel8 && !data->runLengths) {
    data->runLengths = static_cast<std::uint8_t*>(AllocateBytes(sizes.runLengthBytes, 0));
    if (!data->runLengths) return -1;
  }
  return 0;
}

}  // namespace

int CreateMemImg(MEMIMG* header, int width, int height, int pitch, std::uint32_t transparentColor, int colorType,
                 int paletteFlag, int alphaFlag, int extraPlanes, std::uint8_t* pixelBuffer) {
  if (header->marker == kMemImgMarker) return -1;
  if (colorType < kMemImgRgb565 || colorType > kMemImgChannel16) return -1;
  if (paletteFlag) alphaFlag = 0;
  if (colorType == kMemImgChannel8 || colorType == kMemImgChannel16) paletteFlag = alphaFlag = 0;
  paletteFlag = paletteFlag ? 1 : 0;
  alphaFlag = alphaFlag ? 1 : 0;

  MemImgSizes sizes{};
  if (ComputeSizes(width, height, pitch, BytesPerPixelFor(colorType, paletteFlag, alphaFlag), extraPlanes, &sizes) != 0)
    return -1;

  const int ownRecord = header->data == nullptr;
  if (ownRecord) {
    header->data = static_cast<MemImgData*>(AllocateBytes(sizeof(MemImgData), 1));
    if (!header->data) return -1;
  }
  MemImgData* data = header->data;
  data->refCount = 1;
  data->width = width;
  data->height = height;
  data->transparentColor = transparentColor;
  data->colorType = colorType;
  data->paletteFlag = paletteFlag;
  data->alphaFlag = alphaFlag;
  data->premultipliedValid = 0;
  data->runLengthValid = 0;
  data->pitch = static_cast<std::int32_t>(sizes.pitch);
  data->pitchLog2 = sizes.pitchLog2;
  data->colorFormat = GetMemImgColorFormat(colorType, alphaFlag, paletteFlag);

  if (AllocateBuffers(data, sizes, extraPlanes, pixelBuffer) != 0) {
    // Nothing of a failed create stays behind: a record left on an unmarked
    // header would be lost unless the caller happened to create again.
    FreeDataBuffers(data);
    if (ownRecord) {
      TrackedFree(data);
      header->data = nullptr;
    }
    return -1;
  }

  header->marker = kMemImgMarker;
  header->width = width;
  header->height = height;
  header->pixels = data->pixelBuffer;
  header->premultipliedPixels = data->premultipliedPlane;
  return 0;
}

int InitMemImg(MEMIMG* header, int width, int height, int colorType) {
  std::memset(header, 0, sizeof(*header));
  if (colorType == -1) colorType = GetScreenColorBits() == 16 ? kMemImgRgb565 : kMemImgRgb32;
  return CreateMemImg(header, width, height, -1, 0, colorType, 0, 0, 0, nullptr);
}

void MakeMemImgView(MEMIMG* view, const MEMIMG* source, int x, int y, int width, int height) {
  if (!IsMemImgInUse(source)) return;
  if (x < 0 || y < 0 || width < 0 || height < 0) return;
  if (static_cast<std::int64_t>(x) + width > source->width || static_cast<std::int64_t>(y) + height > source->height)
    return;
  MemImgData* data = source->data;
  const std::ptrdiff_t offset =
      static_cast<std::ptrdiff_t>(y) * data->pitch + static_cast<std::ptrdiff_t>(x) * MemImgBytesPerPixel(source);
  view->marker = kMemImgMarker;
  view->width = width;
  view->height = height;
  view->pixels = source->pixels + offset;
  view->premultipliedPixels =
      (data->premultipliedPlane && source->premultipliedPixels) ? source->premultipliedPixels + offset : nullptr;
  view->data = data;
  ++data->refCount;
}

int IsMemImgInUse(const MEMIMG* header) { return header->marker == kMemImgMarker && header->data != nullptr ? 1 : 0; }

void ReleaseMemImg(MEMIMG* header) {
  if (header->marker != kMemImgMarker) return;
  MemImgData* data = header->data;
  if (data && --data->refCount <= 0) {
    FreeDataBuffers(data);
    TrackedFree(data);
  }
  header->data = nullptr;
  header->marker = 0;
}
