// CreateDIBSection, SetDIBitsToDevice and StretchDIBits.
#include "gdi32/bitmap_object.h"
#include "gdi32/device_context.h"
#include "gdi32/dib_transfer.h"
#include "platform/gdi32.h"
#include "platform/kernel32_base.h"

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
  if (bits) *bits = nullptr;
  wqplat::DibLayout layout;
  // Sections backed by a file mapping are not provided.
  if ((dc && !wqplat::LookupDeviceContext(dc)) || section || offset != 0 ||
      !wqplat::ParseDibLayout(info, usage, &layout)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = std::make_shared<wqplat::BitmapObject>(std::move(layout), info->bmiHeader, true);
  if (bits) *bits = bitmap->bits();
  return static_cast<HBITMAP>(wqplat::RegisterGdiObject(std::move(bitmap)));
}

int SetDIBitsToDevice(HDC dc, int x_dest, int y_dest, DWORD width, DWORD height, int x_src,
                      int y_src, UINT start_scan, UINT lines, const void* bits,
                      const BITMAPINFO* info, UINT usage) {
  wqplat::DibLayout layout;
  if (!bits || lines == 0 || !wqplat::ParseDibLayout(info, usage, &layout)) return 0;
  const wqplat::DibPixels pixels{&layout, static_cast<const std::uint8_t*>(bits), start_scan, lines};
  const wqplat::TransferRect dest{x_dest, y_dest, width, height};
  const wqplat::TransferRect source{x_src, wqplat::SourceTopRow(layout, y_src, height), width, height};
  if (width == 0 || height == 0) return static_cast<int>(lines);
  return wqplat::TransferDib(dc, dest, source, pixels) ? static_cast<int>(lines) : 0;
}

int StretchDIBits(HDC dc, int x_dest, int y_dest, int dest_width, int dest_height, int x_src,
                  int y_src, int src_width, int src_height, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
  wqplat::DibLayout layout;
  // Mirroring (negative sizes) and raster operations other than a copy are
  // not provided.
  if (!bits || rop != SRCCOPY || dest_width <= 0 || dest_height <= 0 || src_width <= 0 ||
      src_height <= 0 || !wqplat::ParseDibLayout(info, usage, &layout)) {
    return 0;
  }
  const wqplat::DibPixels pixels{&layout, static_cast<const std::uint8_t*>(bits), 0, layout.height};
  const wqplat::TransferRect dest{x_dest, y_dest, dest_width, dest_height};
  const wqplat::TransferRect source{x_src, wqplat::SourceTopRow(layout, y_src, src_height), src_width,
                                    src_height};
  return wqplat::TransferDib(dc, dest, source, pixels) ? src_height : 0;
}
