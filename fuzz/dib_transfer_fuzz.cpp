// Hands a BITMAPINFO taken from the input, with its pixels, to the DIB
// services a BMP reader's output reaches: a DIB section made from it, and
// SetDIBitsToDevice and StretchDIBits into a 32-bit section with placements
// from the input. Input: a 16-bit length, the info block of that length,
// eight placement bytes, then the pixels.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/gdi32.h"

namespace {

constexpr std::size_t kMostInfoBytes = 2048;
// Room behind the given info block for the largest header and colour
// table a reader may look at, so that reading within them is the caller's
// bytes and reading past them is the service's fault.
constexpr std::size_t kInfoRoom = 124 + 256 * 4 + 12;
constexpr std::size_t kMostPixelBytes = 8 << 20;
constexpr int kTargetSize = 64;

// Bytes of pixels the header describes, as a caller sizes them: whole
// rows of `rows` scans, each a multiple of four bytes. 0 when too large.
std::size_t PixelBytes(const BITMAPINFOHEADER& header, std::uint64_t rows) {
  const std::uint64_t width = static_cast<std::uint64_t>(std::llabs(header.biWidth));
  const std::uint64_t bits = std::clamp<std::uint64_t>(header.biBitCount, 1, 32);
  const std::uint64_t stride = (width * bits + 31) / 32 * 4;
  if (stride != 0 && rows > kMostPixelBytes / stride) return 0;
  return static_cast<std::size_t>(stride * rows);
}

struct Target {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP section = nullptr;
  HGDIOBJ previous = nullptr;

  Target() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kTargetSize;
    info.bmiHeader.biHeight = -kTargetSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous = SelectObject(dc, section);
  }
  ~Target() {
    SelectObject(dc, previous);
    DeleteObject(section);
    DeleteDC(dc);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t info_bytes = std::min<std::size_t>(data[0] | data[1] << 8, kMostInfoBytes);
  if (size < 2 + info_bytes + 8 || info_bytes < sizeof(BITMAPINFOHEADER)) return 0;
  std::vector<std::uint8_t> info_block(data + 2, data + 2 + info_bytes);
  info_block.resize(info_bytes + kInfoRoom);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(info_block.data());
  const std::int8_t* place = reinterpret_cast<const std::int8_t*>(data + 2 + info_bytes);
  const UINT lines = static_cast<std::uint8_t>(place[7]);

  const std::uint64_t rows =
      std::max<std::uint64_t>(static_cast<std::uint64_t>(std::llabs(info->bmiHeader.biHeight)), lines);
  const std::size_t pixel_bytes = PixelBytes(info->bmiHeader, rows);
  if (rows != 0 && pixel_bytes == 0) return 0;
  const std::uint8_t* given = data + 2 + info_bytes + 8;
  std::vector<std::uint8_t> pixels(given, given + std::min(pixel_bytes, size - (given - data)));
  pixels.resize(std::max<std::size_t>(pixel_bytes, 1));

  void* section_bits = nullptr;
  if (HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &section_bits, nullptr, 0)) {
    DIBSECTION description{};
    GetObjectA(section, sizeof description, &description);
    DeleteObject(section);
  }

  Target target;
  SetDIBitsToDevice(target.dc, place[0], place[1], static_cast<std::uint8_t>(place[2]),
                    static_cast<std::uint8_t>(place[3]), place[4], place[5],
                    static_cast<std::uint8_t>(place[6]), lines, pixels.data(), info,
                    DIB_RGB_COLORS);
  StretchDIBits(target.dc, place[0], place[1], place[2] * 2, place[3] * 2, place[4], place[5],
                place[6], place[7], pixels.data(), info, DIB_RGB_COLORS, SRCCOPY);
  return 0;
}
