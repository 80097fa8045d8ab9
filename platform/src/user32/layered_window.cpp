// Layered windows: the picture of a DIB section becomes the whole window,
// its holes cut out by the window system's shaped windows. The window
// system here cannot blend a window with what lies behind it, so partial
// alpha is shown over black: the premultiplied colour itself.
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/gdi32.h"
#include "platform/kernel32.h"
#include "platform/user32.h"
#include "user32/window_presenter.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

// The window's picture: colours shown (0x00RRGGBB) and which are holes.
struct LayeredPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> shown;
  std::vector<std::uint8_t> opaque;
};

std::uint32_t KeyAsPixel(COLORREF key) {
  return (key & 0xFFu) << 16 | (key & 0xFF00u) | (key >> 16 & 0xFFu);
}

std::uint32_t Scale(std::uint32_t pixel, std::uint32_t alpha) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) out |= ((pixel >> shift & 0xFF) * alpha / 255) << shift;
  return out;
}

// The pixel of the picture as shown, and whether it is a hole.
std::uint32_t ShowPixel(std::uint32_t pixel, COLORREF key, const BLENDFUNCTION* blend, DWORD flags, bool* hole) {
  if (flags & ULW_COLORKEY) {
    *hole = (pixel & 0xFFFFFFu) == KeyAsPixel(key);
    return pixel & 0xFFFFFFu;
  }
  const std::uint32_t constant = blend ? blend->SourceConstantAlpha : 255;
  const bool perPixel = blend && (blend->AlphaFormat & AC_SRC_ALPHA);
  const std::uint32_t alpha = (perPixel ? pixel >> 24 : 255) * constant / 255;
  *hole = alpha == 0;
  // Premultiplied colours are already the colour over black.
  return Scale(pixel & 0xFFFFFFu, perPixel ? constant : alpha);
}

bool ReadPicture(HDC source, const POINT* origin, int width, int height, COLORREF key, const BLENDFUNCTION* blend,
                 DWORD flags, LayeredPicture* picture) {
  DIBSECTION dib{};
  HGDIOBJ bitmap = GetCurrentObject(source, OBJ_BITMAP);
  if (!bitmap || GetObjectA(bitmap, sizeof(dib), &dib) != static_cast<int>(sizeof(dib)) ||
      dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmBits == nullptr)
    return false;
  const int left = origin ? origin->x : 0, top = origin ? origin->y : 0;
  if (left < 0 || top < 0 || left + width > dib.dsBm.bmWidth || top + height > dib.dsBm.bmHeight) return false;
  const bool topDown = dib.dsBmih.biHeight < 0;
  picture->width = width;
  picture->height = height;
  picture->shown.resize(static_cast<std::size_t>(width) * height);
  picture->opaque.resize(picture->shown.size());
  const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
  for (int y = 0; y < height; ++y) {
    const int row = topDown ? top + y : dib.dsBm.bmHeight - 1 - (top + y);
    const auto* in = reinterpret_cast<const std::uint32_t*>(bits + static_cast<std::ptrdiff_t>(row) * dib.dsBm.bmWidthBytes);
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      bool hole = false;
      picture->shown[i] = ShowPixel(in[left + x], key, blend, flags, &hole);
      picture->opaque[i] = hole ? 0 : 1;
    }
  }
  return true;
}

}  // namespace
}  // namespace wqplat

BOOL UpdateLayeredWindow(HWND window, HDC /*destination*/, POINT* position, SIZE* size, HDC source,
                         POINT* source_origin, COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  auto record = wqplat::FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(record->ex_style & WS_EX_LAYERED) || (flags & ~(ULW_COLORKEY | ULW_ALPHA)) != 0 ||
      (size && (size->cx <= 0 || size->cy <= 0))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (position || size) {
    RECT now{};
    {
      std::lock_guard lock(wqplat::UserLock());
      now = record->window_rect;
    }
    SetWindowPos(window, nullptr, position ? position->x : now.left, position ? position->y : now.top,
                 size ? size->cx : now.right - now.left, size ? size->cy : now.bottom - now.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (position ? 0u : SWP_NOMOVE) | (size ? 0u : SWP_NOSIZE));
  }
  if (!source) return TRUE;
  RECT windowRect{}, client{};
  {
    std::lock_guard lock(wqplat::UserLock());
    windowRect = record->window_rect;
    client = wqplat::ClientRectOnScreen(*record);
  }
  wqplat::LayeredPicture picture;
  // The picture has the size asked for, even where the window system keeps
  // the window at a size of its own.
  const int width = size ? size->cx : windowRect.right - windowRect.left;
  const int height = size ? size->cy : windowRect.bottom - windowRect.top;
  if (!wqplat::ReadPicture(source, source_origin, width, height, key, blend, flags, &picture)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto presenter = record->presenter;
  if (!presenter) return TRUE;
  // The picture is the whole window; the presenter shows its client area.
  const int dx = client.left - windowRect.left, dy = client.top - windowRect.top;
  presenter->Blit(-dx, -dy, picture.width, picture.height, picture.shown.data(), picture.width);
  std::vector<std::uint8_t> clientShape;
  const int cw = client.right - client.left, ch = client.bottom - client.top;
  clientShape.assign(static_cast<std::size_t>(std::max(cw, 0)) * std::max(ch, 0), 0);
  for (int y = 0; y < ch && y + dy < picture.height; ++y)
    for (int x = 0; x < cw && x + dx < picture.width; ++x)
      clientShape[static_cast<std::size_t>(y) * cw + x] =
          picture.opaque[static_cast<std::size_t>(y + dy) * picture.width + x + dx];
  presenter->ApplyShape(clientShape.data(), cw, ch);
  return TRUE;
}
