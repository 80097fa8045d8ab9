// ConvertPixelRect: prepares a conversion and picks its path (palette
// remap, index copy, same-format copy, an optimised conversion, or the
// general per-pixel path).
#include "image/pixel_convert.h"

#include <cstring>

#include "image/color_format.h"
#include "image/pixel_convert_job.h"

namespace {

int g_fastPathsEnabled = 1;

bool SameLayout(const ColorFormat& a, const ColorFormat& b) {
  return a.bits == b.bits && a.redMask == b.redMask && a.greenMask == b.greenMask && a.blueMask == b.blueMask &&
         a.alphaMask == b.alphaMask;
}

bool SamePalette(const ColorFormat& a, const ColorFormat& b) {
  return std::memcmp(a.palette, b.palette, sizeof(a.palette)) == 0;
}

// Copies 8-bit indices, through `map` when given; returns the largest
// index read.
int CopyIndices(const PixelConvertJob& job, const std::uint8_t* map) {
  int largest = 0;
  std::ptrdiff_t step = DestinationStep(job);
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x, out += step) {
      std::uint8_t index = in[x];
      if (index > largest) largest = index;
      if (job.skipKeyColor && index == (job.keyColor & 0xFF)) continue;
      *out = map ? map[index] : index;
    }
  }
  return largest;
}

// Rows as they are, written backwards when mirrored; pixels equal to the
// key colour are left out when asked.
void CopySameFormat(const PixelConvertJob& job) {
  int bytes = job.sourceFormat.bytesPerPixel;
  std::size_t rowBytes = static_cast<std::size_t>(job.width) * bytes;
  if (!job.mirror && !job.skipKeyColor) {
    for (int y = 0; y < job.height; ++y) std::memmove(DestinationRow(job, y), SourceRow(job, y), rowBytes);
    return;
  }
  std::uint32_t key = job.keyColor & ChannelMax(bytes * 8);
  std::ptrdiff_t step = DestinationStep(job);
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x, in += bytes, out += step) {
      if (job.skipKeyColor && ReadPixelValue(in, bytes) == key) continue;
      std::memcpy(out, in, bytes);
    }
  }
}

}  // namespace

void SetPixelConvertFastPaths(int enabled) { g_fastPathsEnabled = enabled; }

int ConvertPixelRect(void* destination, std::uint32_t destinationPitch, const ColorFormat* destinationFormat,
                     const void* source, std::uint32_t sourcePitch, const ColorFormat* sourceFormat,
                     const void* alphaSource, std::uint32_t alphaPitch, const ColorFormat* alphaFormat,
                     int destinationX, int destinationY, const RECT* sourceRect, int mirror, int colorKeyToAlpha,
                     std::uint32_t keyColor, int ditherMode, int colorOff, int alphaFromColor, int skipKeyColor,
                     int remapPalette) {
  PixelConvertJob job{};
  job.width = sourceRect->right - sourceRect->left;
  job.height = sourceRect->bottom - sourceRect->top;
  if (job.width <= 0 || job.height <= 0) return 0;
  job.destinationFormat = *destinationFormat;
  job.sourceFormat = *sourceFormat;
  const ColorFormat& to = job.destinationFormat;
  const ColorFormat& from = job.sourceFormat;

  bool destinationAlpha = to.alphaWidth != 0;
  bool sourceAlpha = from.alphaWidth != 0;
  bool useAlphaImage = alphaSource && alphaFormat && destinationAlpha && !sourceAlpha;
  job.colorKeyToAlpha = colorKeyToAlpha && destinationAlpha && !useAlphaImage && !sourceAlpha && !alphaFromColor;
  job.skipKeyColor = mirror ? 0 : skipKeyColor;
  job.mirror = mirror;
  job.keyColor = keyColor;
  job.ditherMode = ditherMode;
  job.colorOff = colorOff;
  job.alphaFromColor = alphaFromColor;

  job.sourcePitch = sourcePitch;
  job.source = static_cast<const std::uint8_t*>(source) + static_cast<std::ptrdiff_t>(sourceRect->top) * sourcePitch +
               static_cast<std::ptrdiff_t>(sourceRect->left) * from.bytesPerPixel;
  if (useAlphaImage) {
    job.alphaPitch = alphaPitch;
    job.alphaFormat = alphaFormat;
    job.alphaSource = static_cast<const std::uint8_t*>(alphaSource) +
                      static_cast<std::ptrdiff_t>(sourceRect->top) * alphaPitch +
                      static_cast<std::ptrdiff_t>(sourceRect->left) * alphaFormat->bytesPerPixel;
  }
  job.destinationPitch = destinationPitch;
  int firstColumn = mirror ? destinationX + job.width - 1 : destinationX;
  job.destination = static_cast<std::uint8_t*>(destination) +
                    static_cast<std::ptrdiff_t>(destinationY) * destinationPitch +
                    static_cast<std::ptrdiff_t>(firstColumn) * to.bytesPerPixel;

  bool indices = from.bytesPerPixel == 1 && to.bytesPerPixel == 1;
  if (indices && remapPalette && !SamePalette(from, to)) {
    std::uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
      const ColorPaletteEntry& entry = from.palette[i];
      map[i] = static_cast<std::uint8_t>(EncodeFormatPixel(&to, entry.red, entry.green, entry.blue, 0));
    }
    CopyIndices(job, map);
    return 0;
  }
  if (indices && !colorOff && !alphaFromColor && !job.skipKeyColor) return CopyIndices(job, nullptr);
  if (SameLayout(from, to) && !job.colorKeyToAlpha && !useAlphaImage && !colorOff && !alphaFromColor) {
    CopySameFormat(job);
    return 0;
  }
  if (g_fastPathsEnabled && ConvertPixelsFast(job)) return 0;
  ConvertPixelsGeneral(job);
  return 0;
}
