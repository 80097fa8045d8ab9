// DIB sections and SetDIBitsToDevice / StretchDIBits into memory DCs: every
// source layout the BMP reader hands over lands as the same 24-bit colours.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/windows.h"

namespace {

// A BITMAPINFO with room for a full colour table or the three masks.
struct InfoBlock {
  BITMAPINFOHEADER header;
  DWORD table[256];

  const BITMAPINFO* get() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

InfoBlock MakeInfo(int width, int height, int bits, DWORD compression, std::vector<DWORD> table = {}) {
  InfoBlock info{};
  info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bits), compression, 0, 0, 0, 0, 0};
  for (size_t i = 0; i < table.size(); ++i) info.table[i] = table[i];
  return info;
}

// The header's own size field, as a file states it.
InfoBlock WithHeaderSize(InfoBlock info, DWORD header_size) {
  info.header.biSize = header_size;
  return info;
}

// A 24-bit top-down DIB section selected into a memory DC.
class DibCanvas {
 public:
  DibCanvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
    const InfoBlock info = MakeInfo(width, -height, 24, BI_RGB);
    section_ = CreateDIBSection(dc_, info.get(), DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous_ = SelectObject(dc_, section_);
    stride_ = (width * 3 + 3) & ~3;
  }
  ~DibCanvas() {
    SelectObject(dc_, previous_);
    DeleteObject(section_);
    DeleteDC(dc_);
  }

  HDC dc() const { return dc_; }
  std::uint32_t At(int x, int y) const {
    const BYTE* pixel = static_cast<const BYTE*>(bits_) + y * stride_ + x * 3;
    return pixel[2] << 16 | pixel[1] << 8 | pixel[0];
  }
  std::vector<std::uint32_t> Row(int y) const {
    std::vector<std::uint32_t> row;
    for (int x = 0; x < width_; ++x) row.push_back(At(x, y));
    return row;
  }

 private:
  int width_;
  int stride_ = 0;
  HDC dc_;
  HBITMAP section_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

struct SourceCase {
  const char* name;
  int bits;
  DWORD compression;
  std::vector<DWORD> table;     // colour table (0x00RRGGBB) or masks
  DWORD colours_used;
  std::vector<BYTE> data;       // two stored rows of a 3 x 2 bottom-up DIB
  std::vector<std::uint32_t> top_row;
  std::vector<std::uint32_t> bottom_row;
};

const std::uint32_t kC = 0x3366CC;

const SourceCase kSources[] = {
    {"1-bit", 1, BI_RGB, {0x000000, kC}, 0,
     {0xA0, 0, 0, 0, /* top: */ 0x40, 0, 0, 0},
     {0, kC, 0}, {kC, 0, kC}},
    {"4-bit", 4, BI_RGB, {0x112233, 0x445566, 0x778899}, 0,
     {0x01, 0x20, 0, 0, /* top: */ 0x21, 0x00, 0, 0},
     {0x778899, 0x445566, 0x112233}, {0x112233, 0x445566, 0x778899}},
    {"8-bit with a short colour table", 8, BI_RGB, {0x010203, 0xA0B0C0, 0xFFEEDD}, 3,
     {2, 1, 0, 0, /* top: */ 0, 0, 2, 0},
     {0x010203, 0x010203, 0xFFEEDD}, {0xFFEEDD, 0xA0B0C0, 0x010203}},
    {"16-bit 5-5-5", 16, BI_RGB, {}, 0,
     {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0, /* top: */ 0xFF, 0x7F, 0x10, 0x42, 0x00, 0x00, 0, 0},
     {0xFFFFFF, 0x848484, 0x000000}, {0xFF0000, 0x00FF00, 0x0000FF}},
    {"16-bit 5-6-5 bit fields", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0,
     {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0, /* top: */ 0xFF, 0xFF, 0x10, 0x84, 0x00, 0x00, 0, 0},
     {0xFFFFFF, 0x848284, 0x000000}, {0xFF0000, 0x00FF00, 0x0000FF}},
    {"24-bit", 24, BI_RGB, {}, 0,
     {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07, 0, 0, 0,
      /* top: */ 0xCC, 0x66, 0x33, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0},
     {kC, 0, 0xFFFFFF}, {0x010203, 0x040506, 0x070809}},
    {"32-bit", 32, BI_RGB, {}, 0,
     {0x03, 0x02, 0x01, 0xFF, 0x06, 0x05, 0x04, 0x00, 0x09, 0x08, 0x07, 0x80,
      /* top: */ 0xCC, 0x66, 0x33, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0},
     {kC, 0, 0xFFFFFF}, {0x010203, 0x040506, 0x070809}},
    {"32-bit bit fields in R, G, B, A byte order", 32, BI_BITFIELDS, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0,
     {0x01, 0x02, 0x03, 0xFF, 0x04, 0x05, 0x06, 0x00, 0x07, 0x08, 0x09, 0x80,
      /* top: */ 0x33, 0x66, 0xCC, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0},
     {kC, 0, 0xFFFFFF}, {0x010203, 0x040506, 0x070809}},
    // A colour count the depth cannot index: only the two entries are read.
    {"1-bit with a colour count beyond its depth", 1, BI_RGB, {0x000000, kC}, 0xFFFFFFFF,
     {0xA0, 0, 0, 0, /* top: */ 0x40, 0, 0, 0},
     {0, kC, 0}, {kC, 0, kC}},
};

InfoBlock InfoFor(const SourceCase& source, int height) {
  InfoBlock info = MakeInfo(3, height, source.bits, source.compression, source.table);
  info.header.biClrUsed = source.colours_used;
  return info;
}

TEST(GdiDibTest, SetDIBitsToDeviceConvertsEverySourceLayoutToTheSectionsColours) {
  for (const SourceCase& source : kSources) {
    SCOPED_TRACE(source.name);
    DibCanvas canvas(3, 2);
    const InfoBlock info = InfoFor(source, 2);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 3, 2, 0, 0, 0, 2, source.data.data(), info.get(),
                                DIB_RGB_COLORS),
              2);
    EXPECT_EQ(canvas.Row(0), source.top_row);
    EXPECT_EQ(canvas.Row(1), source.bottom_row);
  }
}

TEST(GdiDibTest, TopDownSourcesKeepTheirRowOrder) {
  const SourceCase& source = kSources[5];  // 24-bit
  DibCanvas canvas(3, 2);
  const InfoBlock info = InfoFor(source, -2);
  EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 3, 2, 0, 0, 0, 2, source.data.data(), info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(canvas.Row(0), source.bottom_row);
  EXPECT_EQ(canvas.Row(1), source.top_row);
}

TEST(GdiDibTest, SourceRectanglesAndScanRangesOfBottomUpDibsCountFromTheBottom) {
  const SourceCase& source = kSources[5];  // 24-bit, stride 12
  const InfoBlock info = InfoFor(source, 2);
  {
    // y 0 of a bottom-up source is its bottom row.
    DibCanvas canvas(3, 1);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 2, 1, 1, 0, 0, 2, source.data.data(), info.get(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(canvas.Row(0), (std::vector<std::uint32_t>{0x040506, 0x070809, 0}));
  }
  {
    // Only scan 1 (the top row) supplied: the bottom row is left alone.
    DibCanvas canvas(3, 2);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 3, 2, 0, 0, 1, 1, source.data.data() + 12, info.get(),
                                DIB_RGB_COLORS),
              1);
    EXPECT_EQ(canvas.Row(0), source.top_row);
    EXPECT_EQ(canvas.Row(1), (std::vector<std::uint32_t>{0, 0, 0}));
  }
  {
    // A destination partly off the canvas is clipped, not wrapped.
    DibCanvas canvas(3, 2);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), -1, 1, 3, 2, 0, 0, 0, 2, source.data.data(), info.get(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(canvas.Row(0), (std::vector<std::uint32_t>{0, 0, 0}));
    EXPECT_EQ(canvas.Row(1), (std::vector<std::uint32_t>{0, 0xFFFFFF, 0}));
  }
}

TEST(GdiDibTest, StretchDIBitsScalesIntoAMemoryDc) {
  const SourceCase& source = kSources[6];  // 32-bit
  const InfoBlock info = InfoFor(source, 2);
  DibCanvas canvas(6, 4);
  EXPECT_EQ(StretchDIBits(canvas.dc(), 0, 0, 6, 4, 0, 0, 3, 2, source.data.data(), info.get(), DIB_RGB_COLORS, SRCCOPY), 2);
  for (int y = 0; y < 4; ++y) {
    const std::vector<std::uint32_t>& expected = y < 2 ? source.top_row : source.bottom_row;
    for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.At(x, y), expected[x / 2]) << x << "," << y;
  }
  // Shrinking picks every other pixel.
  DibCanvas small(1, 1);
  EXPECT_EQ(StretchDIBits(small.dc(), 0, 0, 1, 1, 0, 0, 3, 2, source.data.data(), info.get(), DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(small.At(0, 0), source.bottom_row[1]);
  EXPECT_EQ(StretchDIBits(small.dc(), 0, 0, -1, 1, 0, 0, 3, 2, source.data.data(), info.get(), DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(small.dc(), 0, 0, 1, 1, 0, 0, 3, 2, source.data.data(), info.get(), DIB_RGB_COLORS, 0x00EE0086), 0);
}

TEST(GdiDibTest, ExtremeDestinationCoordinatesAreClippedSafely) {
  const SourceCase& source = kSources[6];
  const InfoBlock info = InfoFor(source, 2);
  DibCanvas canvas(3, 2);
  // Nearly the whole int range wide: the canvas sees the source's last column.
  EXPECT_EQ(StretchDIBits(canvas.dc(), -2000000000, 0, INT32_MAX, 2, 0, 0, 3, 2, source.data.data(), info.get(),
                          DIB_RGB_COLORS, SRCCOPY),
            2);
  EXPECT_EQ(canvas.Row(0), std::vector<std::uint32_t>(3, source.top_row[2]));
  EXPECT_EQ(canvas.Row(1), std::vector<std::uint32_t>(3, source.bottom_row[2]));
  // Past the end of the coordinate range: nothing lands, nothing wraps.
  EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), INT32_MAX - 1, INT32_MIN, 3, 2, 0, 0, 0, 2, source.data.data(),
                              info.get(), DIB_RGB_COLORS),
            2);
  EXPECT_EQ(StretchDIBits(canvas.dc(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0, 3, 2, source.data.data(),
                          info.get(), DIB_RGB_COLORS, SRCCOPY),
            2);
  EXPECT_EQ(canvas.Row(0), std::vector<std::uint32_t>(3, source.top_row[2]));
}

TEST(GdiDibTest, CreateDIBSectionGivesZeroedBitsAndDescribesThem) {
  HDC dc = CreateCompatibleDC(nullptr);
  const InfoBlock info = MakeInfo(3, -5, 24, BI_RGB);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  ASSERT_NE(bits, nullptr);
  const std::vector<BYTE> zeros(12 * 5, 0);
  EXPECT_EQ(std::memcmp(bits, zeros.data(), zeros.size()), 0);

  BITMAP bitmap{};
  ASSERT_EQ(GetObjectA(section, sizeof(bitmap), &bitmap), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(bitmap.bmWidth, 3);
  EXPECT_EQ(bitmap.bmHeight, 5);
  EXPECT_EQ(bitmap.bmWidthBytes, 12);
  EXPECT_EQ(bitmap.bmBitsPixel, 24);
  EXPECT_EQ(bitmap.bmBits, bits);

  DIBSECTION described{};
  ASSERT_EQ(GetObjectA(section, sizeof(described), &described), static_cast<int>(sizeof(DIBSECTION)));
  EXPECT_EQ(described.dsBmih.biHeight, -5);
  EXPECT_EQ(described.dsBmih.biSizeImage, 60u);
  EXPECT_EQ(GetObjectA(section, 0, nullptr), static_cast<int>(sizeof(DIBSECTION)));
  DeleteObject(section);
  DeleteDC(dc);
}

TEST(GdiDibTest, LayoutsGdiCannotDrawAreRefused) {
  struct BadLayout {
    const char* name;
    InfoBlock info;
    UINT usage;
  };
  const BadLayout layouts[] = {
      {"run-length 8", MakeInfo(4, 4, 8, BI_RLE8), DIB_RGB_COLORS},
      {"2 bits", MakeInfo(4, 4, 2, BI_RGB), DIB_RGB_COLORS},
      {"zero width", MakeInfo(0, 4, 24, BI_RGB), DIB_RGB_COLORS},
      {"zero height", MakeInfo(4, 0, 24, BI_RGB), DIB_RGB_COLORS},
      {"empty masks", MakeInfo(4, 4, 32, BI_BITFIELDS), DIB_RGB_COLORS},
      {"bit fields on 24 bits", MakeInfo(4, 4, 24, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}), DIB_RGB_COLORS},
      {"palette indices", MakeInfo(4, 4, 8, BI_RGB), DIB_PAL_COLORS},
      {"beyond 1 GiB", MakeInfo(70000, 70000, 32, BI_RGB), DIB_RGB_COLORS},
      // The colour table would be looked for a quarter of a GiB past the block.
      {"header larger than any header layout", WithHeaderSize(MakeInfo(4, 4, 1, BI_RGB), 0x10000000), DIB_RGB_COLORS},
      {"header one byte past the largest layout", WithHeaderSize(MakeInfo(4, 4, 1, BI_RGB), 125), DIB_RGB_COLORS},
  };
  DibCanvas canvas(4, 4);
  const std::vector<BYTE> data(4 * 4 * 4, 0xFF);
  for (const BadLayout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, layout.info.get(), layout.usage, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 4, 4, 0, 0, 0, 4, data.data(), layout.info.get(), layout.usage), 0);
    EXPECT_EQ(canvas.At(0, 0), 0u);
  }
}

TEST(GdiDibTest, TheColourTableFollowsTheLargestHeaderLayout) {
  // A 124-byte header: the table starts 84 bytes into the block's entries.
  InfoBlock info = WithHeaderSize(MakeInfo(3, 1, 1, BI_RGB), 124);
  info.table[(124 - sizeof(BITMAPINFOHEADER)) / 4 + 1] = kC;
  const std::vector<BYTE> data = {0xA0, 0, 0, 0};
  DibCanvas canvas(3, 1);
  EXPECT_EQ(SetDIBitsToDevice(canvas.dc(), 0, 0, 3, 1, 0, 0, 0, 1, data.data(), info.get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(canvas.Row(0), (std::vector<std::uint32_t>{kC, 0, kC}));
}

TEST(GdiDibTest, APalettisedOrStockBitmapIsNoDrawingTarget) {
  HDC dc = CreateCompatibleDC(nullptr);
  const SourceCase& source = kSources[5];
  const InfoBlock info = InfoFor(source, 2);
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 3, 2, 0, 0, 0, 2, source.data.data(), info.get(), DIB_RGB_COLORS), 0);
  const InfoBlock eight_bit = MakeInfo(3, 2, 8, BI_RGB);
  HBITMAP section = CreateDIBSection(dc, eight_bit.get(), DIB_RGB_COLORS, nullptr, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, section);
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 3, 2, 0, 0, 0, 2, source.data.data(), info.get(), DIB_RGB_COLORS), 0);
  SelectObject(dc, previous);
  DeleteObject(section);
  DeleteDC(dc);
}

}  // namespace
