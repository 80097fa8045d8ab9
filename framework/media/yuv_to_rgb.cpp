// Video-range YUV into RGB with the usual studio-swing factors (1.164 for
// luma; 1.596, 0.813, 0.391 and 2.018 for chroma), as integer tables of
// 14 fraction bits so that each 2 x 2 block costs lookups and adds; and the
// packed YUV surface layouts.
#include "media/yuv_to_rgb.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kClampLow = -512;
constexpr int kClampHigh = 767;

struct YuvTables {
  std::uint8_t clamp[kClampHigh - kClampLow + 1];
  std::int32_t vToRed[256];
  std::int32_t uToGreen[256];
  std::int32_t vToGreen[256];
  std::int32_t uToBlue[256];
  std::int32_t luma[256];
};

YuvTables g_tables;

// Truncates toward zero, as the sums may be negative.
inline std::uint8_t Channel(std::int32_t sum) { return g_tables.clamp[sum / 16384 - kClampLow]; }

inline void PutPixel(std::uint8_t* pixel, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
  pixel[3] = 255;
}

inline std::uint8_t* ImageRow(BaseImage* image, int row) {
  return static_cast<std::uint8_t*>(image->pixels) + static_cast<std::size_t>(row) * image->pitch;
}

void ConvertBlocks420(const YuvPlanes& p, BaseImage* image) {
  const int blockRows = std::min(p.yHeight, image->height) / 2;
  const int blockColumns = std::min(p.yWidth, image->width) / 2;
  for (int by = 0; by < blockRows; ++by) {
    const std::uint8_t* y0 = p.y + static_cast<std::size_t>(2 * by) * p.yStride;
    const std::uint8_t* y1 = y0 + p.yStride;
    const std::uint8_t* u = p.u + static_cast<std::size_t>(by) * p.uvStride;
    const std::uint8_t* v = p.v + static_cast<std::size_t>(by) * p.uvStride;
    std::uint8_t* out0 = ImageRow(image, 2 * by);
    std::uint8_t* out1 = ImageRow(image, 2 * by + 1);
    for (int bx = 0; bx < blockColumns; ++bx) {
      const std::int32_t rv = g_tables.vToRed[v[bx]];
      const std::int32_t guv = g_tables.uToGreen[u[bx]] + g_tables.vToGreen[v[bx]];
      const std::int32_t bu = g_tables.uToBlue[u[bx]];
      const std::uint8_t lumas[4] = {y0[2 * bx], y0[2 * bx + 1], y1[2 * bx], y1[2 * bx + 1]};
      std::uint8_t* outs[4] = {out0 + 8 * bx, out0 + 8 * bx + 4, out1 + 8 * bx, out1 + 8 * bx + 4};
      for (int i = 0; i < 4; ++i) {
        const std::int32_t y = g_tables.luma[lumas[i]];
        PutPixel(outs[i], Channel(y + rv), Channel(y + guv), Channel(y + bu));
      }
    }
  }
}

inline std::uint8_t ClampFloat(float value) {
  const int truncated = static_cast<int>(value);
  return static_cast<std::uint8_t>(std::clamp(truncated, 0, 255));
}

void ConvertPixelsAnyLayout(const YuvPlanes& p, BaseImage* image) {
  const int rows = std::min(p.yHeight, image->height);
  const int columns = std::min(p.yWidth, image->width);
  for (int row = 0; row < rows; ++row) {
    const int chromaRow = std::min(row / 2, p.uvHeight - 1);
    std::uint8_t* out = ImageRow(image, row);
    for (int column = 0; column < columns; ++column) {
      const int chromaColumn = std::min(column / 2, p.uvWidth - 1);
      const std::size_t chroma = static_cast<std::size_t>(chromaRow) * p.uvStride + chromaColumn;
      const float y = (p.y[static_cast<std::size_t>(row) * p.yStride + column] - 16) * 1.164f;
      const float u = static_cast<float>(p.u[chroma] - 128);
      const float v = static_cast<float>(p.v[chroma] - 128);
      PutPixel(out + 4 * column, ClampFloat(v * 1.596f + y), ClampFloat(y - u * 0.391f - v * 0.813f),
               ClampFloat(u * 2.018f + y));
    }
  }
}

void CopyPlaneRows(const std::uint8_t* plane, int width, int height, int stride, std::uint8_t* bits, int pitch) {
  for (int row = 0; row < height; ++row)
    std::memcpy(bits + static_cast<std::size_t>(row) * pitch, plane + static_cast<std::size_t>(row) * stride,
                static_cast<std::size_t>(width));
}

// Two luma rows share one chroma row; each output row gets its own lumas
// with the block's chroma, in the layout's byte order.
void WritePacked(const YuvPlanes& p, bool chromaFirst, std::uint8_t* bits, int pitch) {
  for (int row = 0; row < p.yHeight; ++row) {
    const std::uint8_t* y = p.y + static_cast<std::size_t>(row) * p.yStride;
    const std::uint8_t* u = p.u + static_cast<std::size_t>(row / 2) * p.uvStride;
    const std::uint8_t* v = p.v + static_cast<std::size_t>(row / 2) * p.uvStride;
    std::uint8_t* out = bits + static_cast<std::size_t>(row) * pitch;
    for (int pair = 0; pair < p.yWidth / 2; ++pair, out += 4) {
      if (chromaFirst) {
        out[0] = u[pair], out[1] = y[2 * pair], out[2] = v[pair], out[3] = y[2 * pair + 1];
      } else {
        out[0] = y[2 * pair], out[1] = u[pair], out[2] = y[2 * pair + 1], out[3] = v[pair];
      }
    }
  }
}

}  // namespace

int BuildYuvToRgbTables() {
  for (int i = kClampLow; i <= kClampHigh; ++i) g_tables.clamp[i - kClampLow] = static_cast<std::uint8_t>(std::clamp(i, 0, 255));
  for (int i = 0; i < 256; ++i) {
    g_tables.vToRed[i] = 26148 * (i - 128);
    g_tables.uToGreen[i] = -6406 * (i - 128);
    g_tables.vToGreen[i] = -13320 * (i - 128);
    g_tables.uToBlue[i] = 33062 * (i - 128);
    g_tables.luma[i] = 19070 * (i - 16);
  }
  return 0;
}

bool IsYuv420(const YuvPlanes& planes) {
  return planes.yWidth == 2 * planes.uvWidth && planes.yHeight == 2 * planes.uvHeight;
}

void ConvertYuvToXrgb(const YuvPlanes& planes, BaseImage* image) {
  if (image->pixels == nullptr || planes.uvWidth < 1 || planes.uvHeight < 1) return;
  if (IsYuv420(planes)) {
    ConvertBlocks420(planes, image);
  } else {
    ConvertPixelsAnyLayout(planes, image);
  }
}

void WriteYuvSurface(const YuvPlanes& planes, YuvSurfaceLayout layout, std::uint8_t* bits, int pitch) {
  switch (layout) {
    case YuvSurfaceLayout::kYv12: {
      // V before U, each at half the pitch, directly after the luma rows.
      CopyPlaneRows(planes.y, planes.yWidth, planes.yHeight, planes.yStride, bits, pitch);
      std::uint8_t* vPlane = bits + static_cast<std::size_t>(planes.yHeight) * pitch;
      CopyPlaneRows(planes.v, planes.uvWidth, planes.uvHeight, planes.uvStride, vPlane, pitch / 2);
      std::uint8_t* uPlane = vPlane + static_cast<std::size_t>(planes.uvHeight) * (pitch / 2);
      CopyPlaneRows(planes.u, planes.uvWidth, planes.uvHeight, planes.uvStride, uPlane, pitch / 2);
      break;
    }
    case YuvSurfaceLayout::kYuy2:
      WritePacked(planes, false, bits, pitch);
      break;
    case YuvSurfaceLayout::kUyvy:
      WritePacked(planes, true, bits, pitch);
      break;
  }
}
