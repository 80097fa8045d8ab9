// Drawing strings: the formatted entry points, the choice between the
// texture cache and the memory cache, and the memory path's work image for
// blended and anti-aliased text.
#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/string_utils.h"
#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "graphics/draw_sequence.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "softrender/image_blit.h"
#include "text/font_record.h"
#include "text/font_system.h"
#include "text/glyph_cache.h"
#include "text/text_draw_core.h"

namespace {

constexpr int kFormatBufferSize = 2048;
constexpr int kTextRectExtra = 3;

TextLayout DrawLayout(int x, int y, const char* text, std::uint32_t color, MEMIMG* destination, const RECT* clip,
                      int font, std::uint32_t edgeColor, int length, int vertical) {
  return TextLayout{kTextDraw, x, y, 0, 1.0, 1.0, text, color, destination, clip, 1, font, edgeColor, length,
                    vertical, nullptr};
}

// A colour key for the work image that no pixel of the text can equal.
std::uint32_t PickWorkKey(std::uint32_t start, std::uint32_t color, std::uint32_t edgeColor) {
  std::uint32_t key = start;
  const std::uint32_t rgb = 0xFFFFFF;
  while ((key & rgb) == (color & rgb) || (key & rgb) == (edgeColor & rgb)) ++key;
  return key;
}

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// Formats into a buffer of kFormatBufferSize bytes and never leaves the
// first byte of a double-byte character at the end of a cut.
void FormatText(char* buffer, const char* format, va_list args, int charSetClass) {
  FormatStringV(buffer, kFormatBufferSize, format, args);
  for (int at = 0; buffer[at] != '\0';) {
    if (!IsLeadByte(buffer + at, charSetClass)) {
      ++at;
    } else if (buffer[at + 1] == '\0') {
      buffer[at] = '\0';
    } else {
      at += 2;
    }
  }
}

}  // namespace

int DrawTextByTextureCache(int x, int y, std::uint32_t color, std::uint32_t edgeColor, int vertical,
                           const char* text, int handle) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr || !font->usesTextureCache) return 0;
  if (font->recreateCache && CreateFontCacheScreen(handle) != 0) return 0;
  DrawTextCore(DrawLayout(x, y, text, color, nullptr, &DrawArea, handle, edgeColor,
                          static_cast<int>(std::strlen(text)), vertical));
  return 0;
}

int DrawTextByMemoryCache(int x, int y, const char* text, std::uint32_t color, std::uint32_t edgeColor, int vertical,
                          int handle) {
  const FontRecord* font = FindFontRecord(handle);
  if (font == nullptr || DrawTargetMemImg == nullptr) return 0;
  int size[2] = {0, 0};
  TextLayout measure{kTextMeasure, 0, 0, 0, 1.0, 1.0, text, 0, nullptr, nullptr, 0, handle, 0, -1, vertical, size};
  DrawTextCore(measure);
  const bool antialiased = (font->fontType & kFontTypeAntialiased) != 0;
  if (!antialiased && (BlendMode == kBlendNone || (BlendMode == kBlendAlpha && BlendParam == 255))) {
    DrawTextCore(DrawLayout(x, y, text, color, DrawTargetMemImg, &DrawArea, handle, edgeColor, -1, vertical));
    return 0;
  }
  MEMIMG* work = GetScreenWorkMemImg(antialiased ? 1 : 0);
  if (work == nullptr) return 0;
  const RECT savedArea = DrawArea;
  const std::uint32_t savedBright = DrawBright;
  const RECT workRect = Intersect(RECT{0, 0, size[0], size[1]}, RECT{0, 0, work->width, work->height});
  DrawArea = workRect;
  work->data->transparentColor =
      antialiased ? 0 : PickWorkKey(work->data->transparentColor, color, edgeColor);
  FillMemImgRect(work, &workRect, work->data->transparentColor);
  DrawTextCore(DrawLayout(0, 0, text, color, work, &workRect, handle, edgeColor, -1, vertical));
  DrawBright = kDrawBrightWhite;
  DrawArea = Intersect(RECT{x, y, x + size[0], y + size[1]}, savedArea);
  if (DrawArea.left < DrawArea.right && DrawArea.top < DrawArea.bottom)
    MemImgBlit(DrawTargetMemImg, work, x, y, 1, BlendMemImg);
  DrawArea = savedArea;
  DrawBright = savedBright;
  return 0;
}

int DrawTextWithFont(int x, int y, const char* text, std::uint32_t color, int handle, std::uint32_t edgeColor,
                     int vertical) {
  if (text == nullptr || text[0] == '\0' || DrawSuspended || DrawAreaEmpty) return 0;
  const FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return LogWrite("フォントハンドル値が異常です\n");
  if (!IsWindowActive()) WaitWhileInactive();
  const bool subtract = BlendMode == kBlendSubtract;
  const bool textures = font->usesTextureCache != 0;
  RECT rect{};
  if ((subtract && textures) || MaskScreenEffective || GetDrawTarget() == kFrontScreen) {
    const int extent = font->size + kTextRectExtra;
    rect = vertical ? RECT{x, y, x + extent, DrawArea.bottom} : RECT{x, y, DrawArea.right, y + extent};
    if (rect.left >= DrawArea.right) return 0;
  }
  return RunBracketedDraw(subtract && !Graphics().subtractBlendNative && textures, [&] { return rect; }, [&] {
    return textures ? DrawTextByTextureCache(x, y, color, edgeColor, vertical, text, handle)
                    : DrawTextByMemoryCache(x, y, text, color, edgeColor, vertical, handle);
  });
}

int DrawTextFormat(int x, int y, std::uint32_t color, const char* format, ...) {
  char buffer[kFormatBufferSize];
  va_list args;
  va_start(args, format);
  const FontRecord* font = FindFontRecord(GetDefaultFont());
  FormatText(buffer, format, args, font != nullptr ? font->charSetClass : GetCharSetClass());
  va_end(args);
  RefreshDefaultFont();
  return DrawTextWithFont(x, y, buffer, color, GetDefaultFont(), 0, 0);
}

int DrawTextFormatWithFont(int x, int y, std::uint32_t color, int handle, const char* format, ...) {
  const FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return LogWrite("フォントハンドル値が異常です\n");
  char buffer[kFormatBufferSize];
  va_list args;
  va_start(args, format);
  FormatText(buffer, format, args, font->charSetClass);
  va_end(args);
  return DrawTextWithFont(x, y, buffer, color, handle, 0, 0);
}
