// Optimised conversions of the commonest layouts. Each gives exactly what
// the general path gives for the same job; they are whole-row loops over
// 0x00RRGGBB values.
#include <cstring>

#include "image/color_format.h"
#include "image/pixel_convert_job.h"

namespace {

enum class SourceKind { kNone, kPalette8, kRgb24, kXrgb32 };
enum class DestinationKind { kNone, kRgb565, kXrgb1555, kRgb32, kArgb32 };

bool HasRgb8Masks(const ColorFormat& f) { return f.redMask == 0xFF0000 && f.greenMask == 0xFF00 && f.blueMask == 0xFF; }

SourceKind KindOfSource(const ColorFormat& f) {
  if (!HasRgb8Masks(f) || f.alphaWidth != 0) return SourceKind::kNone;
  if (f.bytesPerPixel == 1) return SourceKind::kPalette8;
  if (f.bits == 24 && f.bytesPerPixel == 3) return SourceKind::kRgb24;
  if (f.bits == 32 && f.bytesPerPixel == 4) return SourceKind::kXrgb32;
  return SourceKind::kNone;
}

DestinationKind KindOfDestination(const ColorFormat& f) {
  if (f.bits == 16 && f.bytesPerPixel == 2 && f.alphaMask == 0 && f.blueMask == 0x1F) {
    if (f.redMask == 0xF800 && f.greenMask == 0x7E0) return DestinationKind::kRgb565;
    if (f.redMask == 0x7C00 && f.greenMask == 0x3E0) return DestinationKind::kXrgb1555;
  }
  if (f.bits == 32 && f.bytesPerPixel == 4 && HasRgb8Masks(f)) {
    if (f.alphaMask == 0) return DestinationKind::kRgb32;
    if (f.alphaMask == 0xFF000000) return DestinationKind::kArgb32;
  }
  return DestinationKind::kNone;
}

template <DestinationKind kTo>
inline std::uint32_t Pack(std::uint32_t rgb) {
  if constexpr (kTo == DestinationKind::kRgb565) return (rgb >> 8 & 0xF800) | (rgb >> 5 & 0x7E0) | (rgb >> 3 & 0x1F);
  if constexpr (kTo == DestinationKind::kXrgb1555) return (rgb >> 9 & 0x7C00) | (rgb >> 6 & 0x3E0) | (rgb >> 3 & 0x1F);
  if constexpr (kTo == DestinationKind::kRgb32) return rgb;
  return rgb | 0xFF000000;
}

template <DestinationKind kTo>
inline void Store(std::uint8_t* out, std::uint32_t value) {
  if constexpr (kTo == DestinationKind::kRgb565 || kTo == DestinationKind::kXrgb1555) {
    auto half = static_cast<std::uint16_t>(value);
    std::memcpy(out, &half, 2);
  } else {
    std::memcpy(out, &value, 4);
  }
}

template <SourceKind kFrom>
inline std::uint32_t LoadRgb(const std::uint8_t* in, int x) {
  if constexpr (kFrom == SourceKind::kRgb24) {
    const std::uint8_t* p = in + x * 3;
    return p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
  } else {
    std::uint32_t value;
    std::memcpy(&value, in + x * 4, 4);
    return value & 0xFFFFFF;
  }
}

template <DestinationKind kTo, int kBytes>
void ConvertPalette(const PixelConvertJob& job) {
  std::uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = Pack<kTo>(PaletteEntryValue(job.sourceFormat.palette[i]));
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x) Store<kTo>(out + x * kBytes, table[in[x]]);
  }
}

template <SourceKind kFrom, DestinationKind kTo, int kBytes>
void ConvertDirect(const PixelConvertJob& job) {
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x) Store<kTo>(out + x * kBytes, Pack<kTo>(LoadRgb<kFrom>(in, x)));
  }
}

template <DestinationKind kTo, int kBytes>
void ConvertFrom(const PixelConvertJob& job, SourceKind from) {
  switch (from) {
    case SourceKind::kPalette8:
      ConvertPalette<kTo, kBytes>(job);
      break;
    case SourceKind::kRgb24:
      ConvertDirect<SourceKind::kRgb24, kTo, kBytes>(job);
      break;
    default:
      ConvertDirect<SourceKind::kXrgb32, kTo, kBytes>(job);
      break;
  }
}

// X8R8G8B8 into A8R8G8B8 leaving out the key colour, the rest opaque.
void CopySkippingKey(const PixelConvertJob& job) {
  std::uint32_t key = job.keyColor & 0xFFFFFF;
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x) {
      std::uint32_t rgb = LoadRgb<SourceKind::kXrgb32>(in, x);
      if (rgb != key) Store<DestinationKind::kArgb32>(out + x * 4, rgb | 0xFF000000);
    }
  }
}

// Equal colour layouts: the colour bits as they are, alpha 0 for the key
// colour and all ones for every other.
template <int kBytes>
void CopyKeyToAlpha(const PixelConvertJob& job) {
  const ColorFormat& from = job.sourceFormat;
  std::uint32_t colorMask = from.redMask | from.greenMask | from.blueMask;
  std::uint32_t key =
      EncodeFormatPixel(&from, job.keyColor >> 16 & 255, job.keyColor >> 8 & 255, job.keyColor & 255, 255) & colorMask;
  std::uint32_t alphaMask = job.destinationFormat.alphaMask;
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x) {
      std::uint32_t colour = ReadPixelValue(in + x * kBytes, kBytes) & colorMask;
      WritePixelValue(out + x * kBytes, kBytes, colour == key ? colour : colour | alphaMask);
    }
  }
}

bool ContiguousAlpha(const ColorFormat& f) { return f.alphaMask == ChannelMax(f.alphaWidth) << f.alphaShift; }

}  // namespace

int ConvertPixelsFast(const PixelConvertJob& job) {
  if (job.mirror || job.ditherMode || job.colorOff || job.alphaFromColor || job.alphaSource) return 0;
  const ColorFormat& from = job.sourceFormat;
  const ColorFormat& to = job.destinationFormat;
  if (job.colorKeyToAlpha) {
    bool sameColours = from.bits == to.bits && from.bytesPerPixel == to.bytesPerPixel && from.bytesPerPixel > 1 &&
                       from.redMask == to.redMask && from.greenMask == to.greenMask && from.blueMask == to.blueMask &&
                       ContiguousAlpha(to) && (to.alphaMask & (to.redMask | to.greenMask | to.blueMask)) == 0;
    if (!sameColours || job.skipKeyColor) return 0;
    switch (from.bytesPerPixel) {
      case 2:
        CopyKeyToAlpha<2>(job);
        return 1;
      case 3:
        CopyKeyToAlpha<3>(job);
        return 1;
      default:
        CopyKeyToAlpha<4>(job);
        return 1;
    }
  }
  SourceKind fromKind = KindOfSource(from);
  DestinationKind toKind = KindOfDestination(to);
  if (job.skipKeyColor) {
    if (fromKind != SourceKind::kXrgb32 || toKind != DestinationKind::kArgb32) return 0;
    CopySkippingKey(job);
    return 1;
  }
  if (fromKind == SourceKind::kNone) return 0;
  switch (toKind) {
    case DestinationKind::kNone: return 0;
    case DestinationKind::kRgb565: ConvertFrom<DestinationKind::kRgb565, 2>(job, fromKind); break;
    case DestinationKind::kXrgb1555: ConvertFrom<DestinationKind::kXrgb1555, 2>(job, fromKind); break;
    case DestinationKind::kRgb32: ConvertFrom<DestinationKind::kRgb32, 4>(job, fromKind); break;
    case DestinationKind::kArgb32: ConvertFrom<DestinationKind::kArgb32, 4>(job, fromKind); break;
  }
  return 1;
}
