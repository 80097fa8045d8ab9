// Reading an image from a stream, a file or memory, with its mirroring and
// its alpha companion.
#include "image/image_load.h"

#include <cstring>

#include "core/base/tracked_allocator.h"
#include "core/files/stream_memory.h"
#include "image/base_image.h"
#include "image/pixel_convert.h"

namespace {

constexpr int kUserReaderSlots = 10;
constexpr int kAlphaNameBytes = 260;

const ImageReader kImageReaderTable[] = {ReadBmpImage, ReadJpegImage, ReadPngImage, ReadBgraImage,
                                         ReadTgaImage, ReadDdsImage,  nullptr};

struct UserReaderTable {
  ImageReader readers[kUserReaderSlots];
  int count;
};
UserReaderTable g_userReaders;

bool TryReader(ImageReader reader, StreamSource* source, BaseImage* image) {
  source->functions.seek(source->handle, 0, 0);
  std::memset(image, 0, sizeof(*image));
  return reader(source, image) == 0;
}

// Rows reversed through the converter's mirror mode.
int MirrorLoadedImage(BaseImage* image) {
  if (DecompressBaseImage(image) != 0) return -1;
  std::int64_t size = static_cast<std::int64_t>(image->pitch) * image->height;
  void* mirrored = ALLOCATE_IMAGE_BLOCK(size);
  if (!mirrored) return -1;
  RECT whole{0, 0, image->width, image->height};
  ConvertPixelRect(mirrored, image->pitch, &image->format, image->pixels, image->pitch, &image->format, nullptr, 0,
                   nullptr, 0, 0, &whole, 1, 0, 0, 0, 0, 0, 0, 0);
  TrackedFree(image->pixels);
  image->pixels = mirrored;
  return 0;
}

int HandOverAsDib(BaseImage* image, BITMAPINFO** info, void** bits) {
  if (DecompressBaseImage(image) != 0) return -1;
  *info = static_cast<BITMAPINFO*>(TrackedAlloc(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), __FILE__, __LINE__));
  if (!*info) return -1;
  int result = BaseImageToDib(image, *info, bits, 0, 0);
  if (result == -1) {
    TrackedFree(*info);
    *info = nullptr;
    return -1;
  }
  if (result == 1) ReleaseBaseImage(image);
  return 0;
}

}  // namespace

int AddUserImageReader(ImageReader reader) {
  if (g_userReaders.count >= kUserReaderSlots) return -1;
  g_userReaders.readers[g_userReaders.count++] = reader;
  return 0;
}

int ReadImageStream(StreamSource* source, BaseImage* image) {
  std::memset(image, 0, sizeof(*image));
  for (int i = 0; i < g_userReaders.count; ++i) {
    if (TryReader(g_userReaders.readers[i], source, image)) return 0;
  }
  for (const ImageReader* reader = kImageReaderTable; *reader; ++reader) {
    if (TryReader(*reader, source, image)) return 0;
  }
  return -1;
}

int LoadImageCore(const char* fileName, const void* memoryData, int memorySize, int fromMemory, int toDib, int mirror,
                  BaseImage* image, BITMAPINFO** info, void** bits) {
  StreamSource source{};
  if (fromMemory) {
    source.functions = *GetMemoryStreamFunctions();
    source.handle = OpenMemoryStream(memoryData, memorySize);
  } else {
    source.functions = *GetFileStreamFunctions();
    source.handle = FileAccessOpen(fileName, 0, 1, 0);
  }
  if (source.handle == 0) return -1;

  BaseImage loaded;
  int result = ReadImageStream(&source, &loaded);
  if (result == 0 && mirror == 1 && MirrorLoadedImage(&loaded) != 0) {
    ReleaseBaseImage(&loaded);
    result = -1;
  }
  if (result == 0 && toDib) {
    if (HandOverAsDib(&loaded, info, bits) != 0) {
      ReleaseBaseImage(&loaded);
      result = -1;
    }
  } else if (result == 0) {
    *image = loaded;
  }
  if (fromMemory) {
    source.functions.close(source.handle);
  } else {
    FileAccessClose(source.handle);
  }
  return result;
}

int LoadBaseImage(const char* fileName, const void* memoryData, int memorySize, int fromMemory, BaseImage* image,
                  int mirror) {
  return LoadImageCore(fileName, memoryData, memorySize, fromMemory, 0, mirror, image, nullptr, nullptr);
}

int LoadImageWithAlpha(const char* fileName, const void* memoryData, int memorySize, int fromMemory,
                       const void* alphaData, int alphaSize, int alphaMode, BaseImage* image, BaseImage* alphaImage,
                       int mirror) {
  if (LoadImageCore(fileName, memoryData, memorySize, fromMemory, 0, mirror, image, nullptr, nullptr) != 0) return -1;
  int alphaResult;
  if (alphaMode == 0) {
    if (!fileName) return 1;  // a memory load has no name to derive one from
    char alphaName[kAlphaNameBytes];
    if (MakeAlphaFileName(alphaName, fileName) != 0) return 1;
    alphaResult = LoadImageCore(alphaName, nullptr, 0, 0, 0, mirror, alphaImage, nullptr, nullptr);
  } else if (alphaMode == 1) {
    alphaResult = LoadImageCore(nullptr, alphaData, alphaSize, 1, 0, mirror, alphaImage, nullptr, nullptr);
  } else {
    return 1;
  }
  return alphaResult == 0 ? 0 : 1;
}
