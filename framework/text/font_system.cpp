// The font system's life cycle and the default font.
#include "text/font_system.h"

#include <cstring>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/string_utils.h"
#include "graphics/graph_setup.h"
#include "text/font_record.h"

namespace {

constexpr int kDefaultSize = 16;
constexpr int kDefaultThickness = 6;
constexpr int kDefaultEdgeSize = 1;

struct FontParameters {
  char face[256];
  int size, thickness, fontType, charSetClass, edgeSize, italic, spacing;
};

FontParameters ParametersOf(const FontRecord* font) {
  FontParameters p{};
  StringCopyN(p.face, font->faceName, sizeof(p.face) - 1);
  p.size = font->size;
  p.thickness = font->thickness;
  p.fontType = font->fontType;
  p.charSetClass = font->charSetClass;
  p.edgeSize = font->edgeSize;
  p.italic = font->italic;
  p.spacing = font->spacing;
  return p;
}

const char* FaceOrNull(const char* face) { return face[0] != '\0' ? face : nullptr; }

void DeleteAllFonts() {
  FontSystemState& fonts = FontSystem();
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    if (const FontRecord* font = fonts.slots[slot])
      DeleteFont(kFontHandleKind | static_cast<int>(font->check << 16) | slot);
  }
}

}  // namespace

int StartFontSystem() {
  FontSystemState& fonts = FontSystem();
  std::memset(&fonts, 0, sizeof(fonts));
  fonts.defaultFont = -1;
  fonts.defaultSize = kDefaultSize;
  fonts.defaultThickness = kDefaultThickness;
  fonts.defaultFontType = 0;
  fonts.defaultCharSetClass = GetCharSetClass();
  fonts.defaultEdgeSize = kDefaultEdgeSize;
  fonts.defaultItalic = 0;
  fonts.defaultSpacing = 0;
  return InitFontSystem();
}

int InitFontSystem() {
  FontSystemState& fonts = FontSystem();
  LogWrite("フォントの初期化を行います\n");
  IncreaseLogIndent();
  FontParameters p{};
  StringCopyN(p.face, fonts.defaultFace, sizeof(fonts.defaultFace) - 1);
  p.size = fonts.defaultSize;
  p.thickness = fonts.defaultThickness;
  p.fontType = fonts.defaultFontType;
  p.charSetClass = fonts.defaultCharSetClass;
  p.edgeSize = fonts.defaultEdgeSize;
  p.italic = fonts.defaultItalic;
  if (const FontRecord* font = FindFontRecord(fonts.defaultFont)) p = ParametersOf(font);
  DeleteAllFonts();
  fonts.defaultFont = CreateFontToHandle(FaceOrNull(p.face), p.size, p.thickness, p.fontType, p.charSetClass,
                                         p.edgeSize, p.italic, -1, -1);
  DecreaseLogIndent();
  LogWrite("フォントの初期化は正常に終了しました\n");
  return 0;
}

void EndFontSystem() {
  InitFontSystem();
  FontSystemState& fonts = FontSystem();
  DeleteFont(fonts.defaultFont);
  fonts.defaultFont = -1;
}

int RefreshDefaultFont() {
  FontSystemState& fonts = FontSystem();
  const FontRecord* font = FindFontRecord(fonts.defaultFont);
  if (font != nullptr && std::strcmp(font->faceName, fonts.defaultFace) == 0 &&
      font->fontType == fonts.defaultFontType && font->size == fonts.defaultSize &&
      font->thickness == fonts.defaultThickness && font->charSetClass == fonts.defaultCharSetClass &&
      font->edgeSize == fonts.defaultEdgeSize && font->italic == fonts.defaultItalic)
    return 0;
  DeleteFont(fonts.defaultFont);
  const int edge = (fonts.defaultFontType & kFontTypeEdge) ? fonts.defaultEdgeSize : -1;
  fonts.defaultFont = CreateFontToHandle(FaceOrNull(fonts.defaultFace), fonts.defaultSize, fonts.defaultThickness,
                                         fonts.defaultFontType, fonts.defaultCharSetClass, edge, fonts.defaultItalic,
                                         -1, -1);
  SetFontSpacing(fonts.defaultSpacing, fonts.defaultFont);
  return 0;
}

int SetDefaultFontSize(const char*, int size, int thickness) {
  FontSystemState& fonts = FontSystem();
  fonts.defaultSize = size == -1 ? kDefaultSize : size;
  fonts.defaultThickness = thickness == -1 ? kDefaultThickness : thickness;
  return RefreshDefaultFont();
}

void GetDefaultFontSettings(int* size, int* thickness) {
  *size = FontSystem().defaultSize;
  *thickness = FontSystem().defaultThickness;
}

void ReleaseFontCacheGraphs() {
  for (FontRecord* font : FontSystem().slots) {
    if (font == nullptr || font->cacheGraph < 0) continue;
    DeleteGraph(font->edgeCacheGraph);
    DeleteGraph(font->cacheGraph);
    font->cacheGraph = font->edgeCacheGraph = -1;
  }
}

int RebuildAllFonts() {
  FontSystemState& fonts = FontSystem();
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    const FontRecord* font = fonts.slots[slot];
    if (font == nullptr) continue;
    const FontParameters p = ParametersOf(font);
    const int check = static_cast<int>(font->check);
    DeleteFont(kFontHandleKind | check << 16 | slot);
    const int handle = CreateFontToHandle(FaceOrNull(p.face), p.size, p.thickness, p.fontType, p.charSetClass,
                                          p.edgeSize, p.italic, slot, check);
    SetFontSpacing(p.spacing, handle);
  }
  return 0;
}
