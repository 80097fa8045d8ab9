// Image files from outside, through one reader (chosen at build time by
// WQ_FUZZ_READER) or, without it, through the loading front that tries
// them all in order. A decoded image must be whole: it is decompressed and
// every pixel converted, so a size or pitch that promises more than the
// block holds shows at once.
#include <cstdint>
#include <vector>

#include "core/base/tracked_allocator.h"
#include "core/files/stream_memory.h"
#include "image/image_load.h"
#include "image/pixel_convert.h"

namespace {

void ConvertEveryPixel(BaseImage* image) {
  if (DecompressBaseImage(image) != 0) return;
  ColorFormat argb{};
  MakeColorFormatArgb32(&argb);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(image->width) * image->height);
  RECT whole{0, 0, image->width, image->height};
  ConvertPixelRect(out.data(), static_cast<std::uint32_t>(image->width) * 4, &argb, image->pixels, image->pitch,
                   &image->format, nullptr, 0, nullptr, 0, 0, &whole, 0, 0, 0, 0, 0, 0, 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  BaseImage image{};
#ifdef WQ_FUZZ_READER
  StreamSource source{*GetMemoryStreamFunctions(), OpenMemoryStream(data, static_cast<LONG>(size))};
  int result = WQ_FUZZ_READER(&source, &image);
  CloseMemoryStream(source.handle);
#else
  // The last byte picks the mirror flag, so mirroring is fuzzed as well.
  int mirror = size > 0 && (data[size - 1] & 1);
  int result = LoadBaseImage(nullptr, data, static_cast<int>(size), 1, &image, mirror);
#endif
  if (result == 0) {
    ConvertEveryPixel(&image);
    ReleaseBaseImage(&image);
  }
  if (GetTrackedBlockCount() != 0) __builtin_trap();  // a refused file left a block behind
  return 0;
}
