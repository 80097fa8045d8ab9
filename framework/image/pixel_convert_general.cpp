// The general conversion, pixel by pixel: any of 8, 16, 24 and 32 bits on
// either side, with colour keys, a separate alpha image, dithering and the
// colour options.
#include <array>

#include "image/color_format.h"
#include "image/pixel_convert_job.h"

namespace {

constexpr int kDitherMatrix[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

enum Channel { kRed, kGreen, kBlue, kAlpha, kChannelCount };

struct ChannelPlace {
  std::uint32_t mask;
  int shift;
  int width;
};

std::array<ChannelPlace, kChannelCount> PlacesOf(const ColorFormat& format) {
  return {{{format.redMask, format.redShift, format.redWidth},
           {format.greenMask, format.greenShift, format.greenWidth},
           {format.blueMask, format.blueShift, format.blueWidth},
           {format.alphaMask, format.alphaShift, format.alphaWidth}}};
}

std::uint32_t Raw(std::uint32_t value, const ChannelPlace& place) { return (value & place.mask) >> place.shift; }

// A channel value `from` bits wide at `to` bits: exact scaling up,
// truncation (or dithering) down.
class ChannelWidthChange {
 public:
  ChannelWidthChange(int from, int to, int ditherMode) : from_(from), to_(to), ditherMode_(ditherMode) {}

  std::uint32_t Apply(std::uint32_t v, int row, int column) {
    if (to_ == from_) return v;
    if (from_ == 0) return 0;
    if (to_ > from_) {
      int up = to_ - from_;
      return (v << up) + static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) * ChannelMax(up) / ChannelMax(from_));
    }
    int drop = from_ - to_;
    std::uint32_t narrowed = v >> drop;
    std::uint32_t dropped = v & ChannelMax(drop);
    if (ditherMode_ == 1) {
      std::uint32_t threshold =
          static_cast<std::uint32_t>((std::uint64_t{1} << drop) * kDitherMatrix[(row & 3) * 4 + (column & 3)] / 16);
      if (dropped > threshold) ++narrowed;
    } else if (ditherMode_ == 2) {
      errorSum_ += dropped;
      if (errorSum_ > ChannelMax(drop)) {
        ++narrowed;
        errorSum_ &= ChannelMax(drop);
      }
    }
    return narrowed > ChannelMax(to_) ? ChannelMax(to_) : narrowed;
  }

 private:
  int from_;
  int to_;
  int ditherMode_;
  std::uint32_t errorSum_ = 0;
};

// A pixel as a value: the palette entry (0x00RRGGBB) at 1 byte per pixel.
std::uint32_t ReadSourceValue(const ColorFormat& format, const std::uint8_t* pixel) {
  if (format.bytesPerPixel == 1) return PaletteEntryValue(format.palette[*pixel]);
  return ReadPixelValue(pixel, format.bytesPerPixel);
}

}  // namespace

void ConvertPixelsGeneral(const PixelConvertJob& job) {
  const ColorFormat& from = job.sourceFormat;
  const ColorFormat& to = job.destinationFormat;
  auto source = PlacesOf(from);
  auto destination = PlacesOf(to);
  std::uint32_t sourceChannelMasks = from.redMask | from.greenMask | from.blueMask | from.alphaMask;
  std::uint32_t sourceKey = from.bytesPerPixel == 1
                                ? job.keyColor & 0xFFFFFF
                                : job.keyColor & ChannelMax(from.bytesPerPixel * 8) & sourceChannelMasks;

  // The key colour as the source would store it, for colour key to alpha.
  std::uint32_t keyChannels[3] = {};
  if (job.colorKeyToAlpha) {
    int r = job.keyColor >> 16 & 255, g = job.keyColor >> 8 & 255, b = job.keyColor & 255;
    std::uint32_t encoded = EncodeFormatPixel(&from, r, g, b, 255);
    if (from.bytesPerPixel == 1) encoded = PaletteEntryValue(from.palette[encoded & 255]);
    for (int c = kRed; c <= kBlue; ++c) keyChannels[c] = Raw(encoded, source[c]);
  }

  // Where the alpha comes from, and its width there.
  int alphaWidth = destination[kAlpha].width;  // full alpha needs no change
  if (job.alphaFromColor) {
    alphaWidth = source[kRed].width;
  } else if (!job.colorKeyToAlpha && job.alphaSource) {
    alphaWidth = job.alphaFormat->redWidth;
  } else if (!job.colorKeyToAlpha && from.alphaWidth != 0) {
    alphaWidth = from.alphaWidth;
  }
  ChannelWidthChange change[kChannelCount] = {{source[kRed].width, destination[kRed].width, job.ditherMode},
                                              {source[kGreen].width, destination[kGreen].width, job.ditherMode},
                                              {source[kBlue].width, destination[kBlue].width, job.ditherMode},
                                              {alphaWidth, destination[kAlpha].width, job.ditherMode}};
  std::uint32_t fullAlpha = ChannelMax(destination[kAlpha].width);

  int sourceBytes = from.bytesPerPixel;
  int destinationBytes = to.bytesPerPixel;
  std::ptrdiff_t step = DestinationStep(job);
  for (int y = 0; y < job.height; ++y) {
    const std::uint8_t* in = SourceRow(job, y);
    const std::uint8_t* alphaIn =
        job.alphaSource ? job.alphaSource + static_cast<std::size_t>(y) * job.alphaPitch : nullptr;
    std::uint8_t* out = DestinationRow(job, y);
    for (int x = 0; x < job.width; ++x, in += sourceBytes, out += step) {
      std::uint32_t value = ReadSourceValue(from, in);
      if (job.skipKeyColor && (value & sourceChannelMasks) == sourceKey) continue;
      std::uint32_t channel[kChannelCount];
      for (int c = kRed; c <= kBlue; ++c) channel[c] = Raw(value, source[c]);

      if (job.alphaFromColor) {
        channel[kAlpha] = channel[kRed];
      } else if (job.colorKeyToAlpha) {
        bool isKey = channel[kRed] == keyChannels[kRed] && channel[kGreen] == keyChannels[kGreen] &&
                     channel[kBlue] == keyChannels[kBlue];
        channel[kAlpha] = isKey ? 0 : fullAlpha;
      } else if (alphaIn) {
        const ColorFormat& alphaFormat = *job.alphaFormat;
        std::uint32_t alphaValue =
            ReadSourceValue(alphaFormat, alphaIn + static_cast<std::size_t>(x) * alphaFormat.bytesPerPixel);
        channel[kAlpha] = (alphaValue & alphaFormat.redMask) >> alphaFormat.redShift;
      } else if (from.alphaWidth == 0) {
        channel[kAlpha] = fullAlpha;
      } else {
        channel[kAlpha] = Raw(value, source[kAlpha]);
      }
      if (job.colorOff) channel[kRed] = channel[kGreen] = channel[kBlue] = 0;

      std::uint32_t result = 0;
      for (int c = kRed; c < kChannelCount; ++c) {
        if (destination[c].width == 0) continue;
        channel[c] = change[c].Apply(channel[c], y, x);
        result |= channel[c] << destination[c].shift & destination[c].mask;
      }
      if (destinationBytes == 1) {
        result = EncodeFormatPixel(&to, static_cast<int>(channel[kRed]), static_cast<int>(channel[kGreen]),
                                   static_cast<int>(channel[kBlue]), 0);
      }
      WritePixelValue(out, destinationBytes, result);
    }
  }
}
