// The built-in colour-format descriptors of the Direct3D formats the
// graphics code describes pixels in, each built once on first use.
#include "graphics/screen_mode.h"

namespace {

struct FormatMasks {
  int d3dFormat;
  int colorBits;
  std::uint32_t red, green, blue, alpha;
};

constexpr FormatMasks kFormats[] = {
    {20, 24, 0xFF0000, 0xFF00, 0xFF, 0},
    {21, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {22, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {23, 16, 0xF800, 0x7E0, 0x1F, 0},
    {24, 16, 0x7C00, 0x3E0, 0x1F, 0},
    {25, 16, 0x7C00, 0x3E0, 0x1F, 0x8000},
    {26, 16, 0xF00, 0xF0, 0xF, 0xF000},
    {27, 8, 0xE0, 0x1C, 0x3, 0},
    {29, 16, 0xE0, 0x1C, 0x3, 0xFF00},
    {30, 16, 0xF00, 0xF0, 0xF, 0},
    {31, 32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000},
    {32, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000},
    {33, 32, 0xFF, 0xFF00, 0xFF0000, 0},
    {35, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000},
};
constexpr int kFormatCount = sizeof(kFormats) / sizeof(kFormats[0]);

struct FormatTable {
  ColorFormat formats[kFormatCount];
  FormatTable() {
    for (int i = 0; i < kFormatCount; ++i) {
      const FormatMasks& m = kFormats[i];
      formats[i] = ColorFormat{};
      MakeColorFormatFromMasks(&formats[i], m.colorBits, m.red, m.green, m.blue, m.alpha);
    }
  }
};

}  // namespace

const ColorFormat* GetColorFormatDesc(int d3dFormat) {
  static const FormatTable table;
  for (int i = 0; i < kFormatCount; ++i)
    if (kFormats[i].d3dFormat == d3dFormat) return &table.formats[i];
  return nullptr;
}
