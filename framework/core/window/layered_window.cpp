// Layered-window presentation. The screen image goes into a window-sized
// 32-bit DIB below the caption band, with the pixels of the transparent
// colour made holes, and the DIB is handed to UpdateLayeredWindow. From
// Vista on the holes are alpha 0 in a per-pixel alpha picture; before it
// they are the colour key.
#include "core/window/layered_window.h"

#include <algorithm>
#include <vector>

#include "core/window/window_system_state.h"
#include "graphics/render_state.h"
#include "image/pixel_convert.h"

namespace {

constexpr int kVistaOsCode = 0x108;

struct LayeredBitmap {
  HBITMAP bitmap;
  std::uint32_t* pixels;
  int width, height;
};

LayeredBitmap g_bitmap;
HMODULE g_user32;
UpdateLayeredWindowFunction g_update;

bool EnsureBitmap(int width, int height) {
  if (g_bitmap.bitmap != nullptr && g_bitmap.width == width && g_bitmap.height == height) return true;
  DeleteLayeredWindowBitmap();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  g_bitmap.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (g_bitmap.bitmap == nullptr) return false;
  g_bitmap.pixels = static_cast<std::uint32_t*>(bits);
  g_bitmap.width = width;
  g_bitmap.height = height;
  return true;
}

std::uint32_t* BitmapRow(int y) { return g_bitmap.pixels + static_cast<std::ptrdiff_t>(y) * g_bitmap.width; }

// The image as 32-bit pixels of the format (X8R8G8B8 or A8R8G8B8): its own
// pixels when it already is one, else a converted copy kept in `copy`.
const std::uint8_t* PixelsAs(const BaseImage& image, bool alpha, std::vector<std::uint32_t>* copy,
                             std::uint32_t* pitch) {
  ColorFormat format{};
  if (alpha)
    MakeColorFormatArgb32(&format);
  else
    MakeColorFormatXrgb32(&format);
  const ColorFormat& own = image.format;
  if (own.bytesPerPixel == 4 && own.redMask == format.redMask && own.greenMask == format.greenMask &&
      own.blueMask == format.blueMask && (!alpha || own.alphaMask == format.alphaMask)) {
    *pitch = image.pitch;
    return static_cast<const std::uint8_t*>(image.pixels);
  }
  copy->assign(static_cast<std::size_t>(image.width) * image.height, 0);
  *pitch = static_cast<std::uint32_t>(image.width) * 4;
  const RECT whole{0, 0, image.width, image.height};
  ConvertPixelRect(copy->data(), *pitch, &format, image.pixels, image.pitch, &image.format, nullptr, 0, nullptr, 0, 0,
                   &whole, 0, 0, 0, 0, 0, 0, 0, 0);
  return reinterpret_cast<const std::uint8_t*>(copy->data());
}

std::uint32_t To565(std::uint32_t rgb) {
  return (rgb >> 8 & 0xF800) | (rgb >> 5 & 0x07E0) | (rgb >> 3 & 0x001F);
}

std::uint32_t From565(std::uint32_t p) {
  const std::uint32_t r = p >> 11 & 0x1F, g = p >> 5 & 0x3F, b = p & 0x1F;
  return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

// Writes every pixel of the image, as 32-bit pixels (A8R8G8B8 when alpha,
// else X8R8G8B8), through map() into the bitmap from row `top` on.
template <typename Map>
void MapPixels(const BaseImage& image, bool alpha, int top, Map map) {
  std::vector<std::uint32_t> copy;
  std::uint32_t pitch = 0;
  const std::uint8_t* pixels = PixelsAs(image, alpha, &copy, &pitch);
  for (int y = 0; y < image.height; ++y) {
    const auto* in = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * pitch);
    std::uint32_t* out = BitmapRow(top + y);
    for (int x = 0; x < image.width; ++x) out[x] = map(in[x]);
  }
}

// Vista and later, no alpha: key-coloured pixels are holes, the rest opaque.
void CopyKeyedOpaque(const BaseImage& image, int top) {
  const std::uint32_t key = TransparentColor & 0xFFFFFFu;
  if (image.format.bytesPerPixel == 2 && image.format.redMask == 0xF800 && image.format.greenMask == 0x07E0) {
    const std::uint32_t key565 = To565(key);
    for (int y = 0; y < image.height; ++y) {
      const auto* in = reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(image.pixels) +
                                                               static_cast<std::ptrdiff_t>(y) * image.pitch);
      std::uint32_t* out = BitmapRow(top + y);
      for (int x = 0; x < image.width; ++x) out[x] = in[x] == key565 ? 0 : 0xFF000000u | From565(in[x]);
    }
    return;
  }
  MapPixels(image, false, top, [key](std::uint32_t p) {
    const std::uint32_t rgb = p & 0xFFFFFFu;
    return rgb == key ? 0 : 0xFF000000u | rgb;
  });
}

// With alpha: key-coloured or alpha-0 pixels are holes, opaque pixels are
// copied, the rest premultiplied.
void CopyPremultiplied(const BaseImage& image, int top) {
  const std::uint32_t key = TransparentColor & 0xFFFFFFu;
  MapPixels(image, true, top, [key](std::uint32_t p) {
    const std::uint32_t alpha = p >> 24;
    if ((p & 0xFFFFFFu) == key || alpha == 0) return 0u;
    if (alpha == 255) return p;
    std::uint32_t q = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) q |= ((p >> shift & 0xFF) * alpha >> 8) << shift;
    return q;
  });
}

// Before Vista, no alpha: the colour key does the shaping.
void CopyOverKeyFill(const BaseImage& image, int top) {
  const std::uint32_t key = TransparentColor & 0xFFFFFFu;
  for (int y = 0; y < g_bitmap.height; ++y) std::fill_n(BitmapRow(y), g_bitmap.width, key);
  MapPixels(image, false, top, [](std::uint32_t p) { return p & 0xFFFFFFu; });
}

COLORREF KeyAsColorRef() {
  const std::uint32_t key = TransparentColor;
  return (key & 0xFF) << 16 | (key & 0xFF00) | (key >> 16 & 0xFF);
}

}  // namespace

void ReadUpdateLayeredWindowEntry() {
  if (g_user32 == nullptr) g_user32 = LoadLibraryA("user32.dll");
  g_update = g_user32 != nullptr
                 ? reinterpret_cast<UpdateLayeredWindowFunction>(GetProcAddress(g_user32, "UpdateLayeredWindow"))
                 : nullptr;
}

void ReleaseUpdateLayeredWindowEntry() {
  g_update = nullptr;
  if (g_user32 != nullptr) FreeLibrary(g_user32);
  g_user32 = nullptr;
}

UpdateLayeredWindowFunction GetUpdateLayeredWindowEntry() { return g_update; }

int UpdateLayeredWindowImage(const BaseImage* image, HDC source, int alphaFlag) {
  const WindowSystemState& state = WindowSystem();
  if (g_update == nullptr || state.mainWindow == nullptr) return -1;
  HWND window = state.mainWindow;
  const int caption = state.captionOffset;
  // The window's top edge, which lies the caption band above the client area.
  POINT position{state.clientRect.left, state.clientRect.top - caption};
  HDC screen = GetDC(nullptr);
  BOOL shown = FALSE;
  if (source != nullptr) {
    RECT client{};
    GetClientRect(window, &client);
    SIZE size{client.right, client.bottom};
    POINT origin{0, 0};
    shown = g_update(window, screen, &position, &size, source, &origin, KeyAsColorRef(), nullptr, ULW_COLORKEY);
    ReleaseDC(nullptr, screen);
    return shown ? 0 : -1;
  }
  const bool alpha = alphaFlag != 0 && image->format.alphaWidth != 0;
  const bool keyed = !alpha && state.osCode < kVistaOsCode;
  if (!EnsureBitmap(image->width, image->height + caption)) {
    ReleaseDC(nullptr, screen);
    return -1;
  }
  if (alpha)
    CopyPremultiplied(*image, caption);
  else if (keyed)
    CopyOverKeyFill(*image, caption);
  else
    CopyKeyedOpaque(*image, caption);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(memory, g_bitmap.bitmap);
  SIZE size{g_bitmap.width, g_bitmap.height};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  shown = keyed ? g_update(window, screen, &position, &size, memory, &origin, KeyAsColorRef(), nullptr, ULW_COLORKEY)
                : g_update(window, screen, &position, &size, memory, &origin, 0, &blend, ULW_ALPHA);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shown ? 0 : -1;
}

void DeleteLayeredWindowBitmap() {
  if (g_bitmap.bitmap != nullptr) DeleteObject(g_bitmap.bitmap);
  g_bitmap = LayeredBitmap{};
}

const std::uint32_t* GetLayeredWindowPixels(int* width, int* height) {
  *width = g_bitmap.width;
  *height = g_bitmap.height;
  return g_bitmap.pixels;
}
