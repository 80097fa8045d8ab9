// The BMP layouts the reader does not decode itself (1 and 16 bits, bit
// fields) are drawn by GDI into a 24-bit DIB section.
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/bmp_reader.h"

int DecodeBmpThroughGdi(const BmpLayout& layout, const std::uint8_t* data, BaseImage* image) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO target{};
  target.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  target.bmiHeader.biWidth = layout.width;
  target.bmiHeader.biHeight = -layout.height;
  target.bmiHeader.biPlanes = 1;
  target.bmiHeader.biBitCount = 24;
  target.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) {
    if (section) DeleteObject(section);
    DeleteDC(dc);
    return LogWrite("ＤＩＢの作成に失敗しました3\n");
  }
  BITMAP description{};
  GetObjectA(section, sizeof(description), &description);
  std::uint32_t rowBytes = (static_cast<std::uint32_t>(description.bmWidthBytes) + 3) & ~3u;
  HGDIOBJ previous = SelectObject(dc, section);
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(layout.width), static_cast<DWORD>(layout.height), 0, 0, 0,
                    static_cast<UINT>(layout.height), data, layout.info, DIB_RGB_COLORS);
  SelectObject(dc, previous);
  DeleteDC(dc);
  auto* pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(rowBytes) * layout.height));
  if (!pixels) {
    DeleteObject(section);
    return LogWrite("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
  }
  auto sectionRowBytes = static_cast<std::size_t>(description.bmWidthBytes);
  for (int y = 0; y < layout.height; ++y) {
    std::memcpy(pixels + static_cast<std::size_t>(y) * rowBytes,
                static_cast<const std::uint8_t*>(bits) + y * sectionRowBytes, sectionRowBytes);
  }
  DeleteObject(section);
  MakeColorFormatRgb24(&image->format);
  image->pitch = rowBytes;
  image->pixels = pixels;
  return 0;
}
