// Measuring and drawing a string from the font's glyph cache.
#include "text/text_draw_core.h"

#include <algorithm>
#include <cstring>

#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "text/glyph_cache.h"
#include "text/text_memory_pixels.h"

namespace {

constexpr int kDoubleByteSpace = 0x4081;  // 0x81 0x40, first byte low

struct TintedColor {
  std::uint32_t pixel;   // screen format, no alpha or unused bits
  std::uint32_t packed;  // 0xFFRRGGBB
};

int ChannelBits(std::uint32_t value, std::uint32_t mask, int shift, int width) {
  const int raw = static_cast<int>((value & mask) >> shift);
  return width >= 8 ? raw >> (width - 8) : raw << (8 - width);
}

// Splits a screen colour into channels, tints them by the draw brightness
// and packs them again both ways.
TintedColor TintColor(std::uint32_t color) {
  const ColorFormat& f = *GetScreenColorFormat();
  const int bright[3] = {static_cast<int>(DrawBright >> 16 & 0xFF), static_cast<int>(DrawBright >> 8 & 0xFF),
                         static_cast<int>(DrawBright & 0xFF)};
  const std::uint32_t masks[3] = {f.redMask, f.greenMask, f.blueMask};
  const int shifts[3] = {f.redShift, f.greenShift, f.blueShift};
  const int widths[3] = {f.redWidth, f.greenWidth, f.blueWidth};
  TintedColor tinted{0, 0xFF000000};
  for (int i = 0; i < 3; ++i) {
    const int channel = ChannelBits(color, masks[i], shifts[i], widths[i]) * bright[i] / 255;
    const int scaled = widths[i] >= 8 ? channel << (widths[i] - 8) : channel >> (8 - widths[i]);
    tinted.pixel |= (static_cast<std::uint32_t>(scaled) << shifts[i]) & masks[i];
    tinted.packed |= static_cast<std::uint32_t>(channel) << (16 - 8 * i);
  }
  return tinted;
}

void DrawMemoryCell(const FontRecord* font, const GlyphCacheCell* cell, const TextLayout& layout, int pen,
                    std::uint32_t color, std::uint32_t edgeColor) {
  MEMIMG* target = layout.destination;
  RECT clip{0, 0, target->width, target->height};
  if (layout.clip != nullptr) {
    clip.left = std::max(clip.left, layout.clip->left);
    clip.top = std::max(clip.top, layout.clip->top);
    clip.right = std::min(clip.right, layout.clip->right);
    clip.bottom = std::min(clip.bottom, layout.clip->bottom);
  }
  int cellX = 0, cellY = 0;
  CellCorner(font, cell->position, &cellX, &cellY);
  MemoryGlyphDraw glyph{};
  glyph.cell = font->memoryCache + static_cast<std::size_t>(cellY) * font->memoryPitch;
  glyph.cellPitch = font->memoryPitch;
  glyph.fontType = font->fontType;
  glyph.boxWidth = cell->boxWidth;
  glyph.boxHeight = cell->boxHeight;
  if (layout.vertical) {
    glyph.left = layout.x + font->cellHeight - cell->topOffset - cell->boxHeight;
    glyph.top = layout.y + pen + cell->originX;
  } else {
    glyph.left = layout.x + pen + cell->originX;
    glyph.top = layout.y + cell->topOffset;
  }
  glyph.vertical = layout.vertical;
  glyph.destination = target->pixels;
  glyph.destinationPitch = target->data->pitch;
  glyph.bytesPerPixel = MemImgBytesPerPixel(target);
  glyph.rgb565 = Screen().colorBits == 16 ? 1 : 0;
  glyph.alphaShift = glyph.rgb565 ? 16 : 24;
  glyph.color = color;
  glyph.edgeColor = edgeColor;
  glyph.skipEmpty = layout.skipEmpty;
  DrawMemoryGlyph(glyph, clip);
}

}  // namespace

int DrawTextCore(const TextLayout& request) {
  if (DrawSuspended) return -1;
  FontRecord* font = FindFontRecord(request.font);
  if (font == nullptr) return -1;
  TextLayout layout = request;
  if (!font->usesTextureCache || (layout.mode == kTextDraw && !layout.scaled)) {
    layout.scaled = 0;
    layout.scaleX = layout.scaleY = 1.0;
  }
  const double advanceScale = layout.vertical ? layout.scaleY : layout.scaleX;
  const TintedColor color = TintColor(layout.color);
  const TintedColor edge = TintColor(layout.edgeColor);
  if (layout.text == nullptr || layout.text[0] == '\0') return 0;
  const int textLength = static_cast<int>(std::strlen(layout.text));
  const int length = layout.length == -1 || layout.length > textLength ? textLength : layout.length;

  CharList charList(length);
  std::uint8_t* list = charList.data();
  if (list == nullptr) return -1;
  int count = 0;
  CacheStringGlyphs(length, layout.text, layout.font, list, &count);

  double pen = 0.0;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = list + i * kCharListEntryBytes;
    const int code = CharCode(entry);
    const GlyphCacheCell* cell = font->chars[code].cached ? font->chars[code].cell : nullptr;
    if (cell == nullptr) cell = RenderGlyphToCache(layout.font, 1, entry);
    if (cell == nullptr) {
      LogWrite("テキストキャッシュの作成に失敗しました");
      return -1;
    }
    const bool blank = code == ' ' || code == kDoubleByteSpace || (cell->boxWidth == 0 && cell->boxHeight == 0);
    if (layout.mode == kTextDraw && !blank) {
      if (font->usesTextureCache) {
        DrawTextureGlyph(font, cell, layout, pen, TextureGlyphColors{color.packed, edge.packed});
      } else if (layout.destination != nullptr) {
        DrawMemoryCell(font, cell, layout, static_cast<int>(pen), color.pixel, edge.pixel);
      }
    }
    pen += (cell->advance + font->spacing) * advanceScale;
  }
  if (layout.size != nullptr) {
    layout.size[0] = layout.vertical ? font->cellHeight : static_cast<int>(pen);
    layout.size[1] = layout.vertical ? static_cast<int>(pen) : font->cellHeight;
  }
  return static_cast<int>(pen);
}
