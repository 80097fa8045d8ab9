// GetGlyphOutlineA: glyph bitmaps and metrics of the DC's font.
#include <cstring>

#include "gdi32/code_page_char.h"
#include "gdi32/device_context.h"
#include "platform/gdi32.h"
#include "platform/kernel32_base.h"

namespace {

bool IsIdentity(const MAT2& m) {
  return m.eM11.value == 1 && m.eM11.fract == 0 && m.eM12.value == 0 && m.eM12.fract == 0 &&
         m.eM21.value == 0 && m.eM21.fract == 0 && m.eM22.value == 1 && m.eM22.fract == 0;
}

bool IsBitmapFormat(UINT format) {
  return format == GGO_BITMAP || format == GGO_GRAY4_BITMAP || format == GGO_GRAY8_BITMAP;
}

}  // namespace

DWORD GetGlyphOutlineA(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics,
                       DWORD buffer_size, LPVOID buffer, const MAT2* transform) {
  std::shared_ptr<wqplat::FontObject> font = wqplat::SelectedFont(dc);
  if (!font || !metrics || !transform) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return GDI_ERROR;
  }
  // Only the bitmap formats and the identity transform are provided.
  if (!IsBitmapFormat(format) || !IsIdentity(*transform)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return GDI_ERROR;
  }
  const char32_t code_point = wqplat::DecodeCodePageChar(font->code_page(), character);
  wqplat::GlyphImage image;
  if (!font->face().RenderGlyph(code_point, format, &image)) {
    SetLastError(ERROR_INVALID_FUNCTION);
    return GDI_ERROR;
  }
  *metrics = image.metrics;
  const DWORD size = static_cast<DWORD>(image.bits.size());
  if (!buffer || buffer_size == 0) return size;
  if (buffer_size < size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return GDI_ERROR;
  }
  if (size > 0) std::memcpy(buffer, image.bits.data(), size);
  return size;
}
