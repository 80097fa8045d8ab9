// Creating a font handle: the GDI font with its fall-backs, the cell size
// from its metrics, and its glyph cache (a texture on the Direct3D
// renderer, a bitmap in memory otherwise).
#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"
#include "core/window/window_system_state.h"
#include "graphics/graphics_state.h"
#include "graphics/screen_mode.h"
#include "text/font_cache_layout.h"
#include "text/font_record.h"
#include "text/glyph_cache.h"

namespace {

constexpr int kDefaultSize = 16;
constexpr int kDefaultThickness = 6;
constexpr int kDefaultEdgeSize = 1;
constexpr DWORD kQuality = NONANTIALIASED_QUALITY;
constexpr DWORD kPitch = FIXED_PITCH;
constexpr const char* kFallbackFace = "ＭＳ ゴシック";

DWORD GdiCharSetOfClass(int charSetClass) {
  static constexpr DWORD kCharSets[] = {DEFAULT_CHARSET, SHIFTJIS_CHARSET, HANGEUL_CHARSET, CHINESEBIG5_CHARSET,
                                        GB2312_CHARSET};
  return charSetClass >= 0 && charSetClass <= 4 ? kCharSets[charSetClass] : DEFAULT_CHARSET;
}

HFONT RequestFont(const FontRecord* font, const char* face, DWORD charSet, int italic) {
  return CreateFontA(font->size, 0, 0, 0, font->thickness * 100, static_cast<DWORD>(italic), 0, 0, charSet,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, kQuality, kPitch, face);
}

// The named face in the class's character set, then in the default and the
// Shift-JIS sets; without a name the fixed fall-back face, then any face.
bool CreateGdiFont(FontRecord* font, const char* face, int charSetClass) {
  const DWORD charSet = GdiCharSetOfClass(charSetClass);
  if (face != nullptr) {
    font->gdiFont = RequestFont(font, face, charSet, font->italic);
    if (font->gdiFont == nullptr) font->gdiFont = RequestFont(font, face, DEFAULT_CHARSET, font->italic);
    if (font->gdiFont == nullptr) font->gdiFont = RequestFont(font, face, SHIFTJIS_CHARSET, font->italic);
    if (font->gdiFont == nullptr) LogWrite("指定のフォントの作成に失敗しました\n");
  } else {
    font->gdiFont = RequestFont(font, kFallbackFace, charSet, font->italic);
    if (font->gdiFont == nullptr) font->gdiFont = RequestFont(font, kFallbackFace, DEFAULT_CHARSET, 0);
    if (font->gdiFont == nullptr) font->gdiFont = RequestFont(font, nullptr, DEFAULT_CHARSET, 0);
    if (font->gdiFont == nullptr) LogWrite("フォントの作成に失敗しました\n");
  }
  return font->gdiFont != nullptr;
}

bool MeasureFont(FontRecord* font) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    LogWrite("ＤＣの取得に失敗しました\n");
    return false;
  }
  HGDIOBJ previous = SelectObject(dc, font->gdiFont);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  DeleteDC(dc);
  const FontCellSize cell = ComputeFontCellSize(metrics.tmMaxCharWidth, metrics.tmHeight, FontEdge(font));
  font->cellWidth = cell.cellWidth;
  font->cellHeight = cell.cellHeight;
  return true;
}

bool CreateTextureCache(FontRecord* font, int handle) {
  const FontCacheLayout layout = ComputeTextureCacheLayout(font->cellWidth, FontSystem().requestedCellCount);
  if (layout.cellCount > 0) {
    font->cacheWidth = layout.cacheWidth;
    font->cacheHeight = layout.cacheHeight;
    font->cellCount = layout.cellCount;
    font->cellsPerColumn = layout.cellsPerColumn;
    font->recreateCache = 1;
    if (CreateFontCacheScreen(handle) == 0) return true;
  }
  LogWrite("テクスチャ文字キャッシュの作成に失敗しました\n");
  return false;
}

bool CreateMemoryCache(FontRecord* font) {
  font->memoryBits = font->fontType == 0 ? 1 : 8;
  const FontCacheLayout layout = ComputeMemoryCacheLayout(font->cellWidth, FontSystem().requestedCellCount);
  font->cellCount = layout.cellCount;
  font->cacheWidth = layout.cacheWidth;
  font->cacheHeight = layout.cacheHeight;
  font->cellsPerColumn = layout.cellsPerColumn;
  font->memoryPitch = MemoryCachePitch(font->cellWidth, font->memoryBits);
  const std::size_t bytes = static_cast<std::size_t>(font->memoryPitch) * static_cast<std::size_t>(font->cacheHeight);
  font->memoryCache = static_cast<std::uint8_t*>(TrackedAlloc(bytes, __FILE__, __LINE__));
  if (font->memoryCache == nullptr) {
    LogWrite("フォントのキャッシュ用メモリの確保に失敗しました in CreateFontToHandle");
    return false;
  }
  return true;
}

int FailCreation(FontRecord* font, int handle) {
  font->check = static_cast<std::uint32_t>((handle >> 16) & 0x7FF);
  DeleteFont(handle);
  return -1;
}

int FindFreeSlot() {
  for (int slot = 0; slot < kFontSlotCount; ++slot)
    if (FontSystem().slots[slot] == nullptr) return slot;
  return -1;
}

}  // namespace

int CreateFontToHandle(const char* face, int size, int thickness, int fontType, int charSetClass, int edgeSize,
                       int italic, int slot, int check) {
  if (WindowSystem().windowDestroyed) return -1;
  FontSystemState& fonts = FontSystem();
  if (fontType == -1) fontType = 0;
  if (edgeSize > 1) fontType |= kFontTypeEdge;
  if (size == -1) size = kDefaultSize;
  if (thickness == -1) thickness = kDefaultThickness;
  if (edgeSize == -1) edgeSize = kDefaultEdgeSize;
  if (charSetClass == -1) charSetClass = GetCharSetClass();

  if (slot != -1) {
    if (slot < 0 || slot >= kFontSlotCount || fonts.slots[slot] != nullptr) return -1;
  } else {
    slot = FindFreeSlot();
    if (slot < 0) return LogWriteFormat("作成できるフォントハンドル数 %d の限界を超えました", kFontSlotCount);
  }
  auto* font = static_cast<FontRecord*>(TrackedAllocZero(sizeof(FontRecord), __FILE__, __LINE__));
  if (font == nullptr) return LogWrite("フォント管理用メモリ領域の確保に失敗しました\n");
  font->cacheGraph = font->edgeCacheGraph = -1;
  if (Screen().colorBits == 8) fontType &= ~kFontTypeAntialiased;
  font->edgeSize = edgeSize;
  font->fontType = fontType;
  font->size = size;
  font->thickness = thickness;
  font->italic = italic;
  if (check != -1) {
    font->check = static_cast<std::uint32_t>(check) & 0x7FF;
  } else {
    font->check = fonts.nextCheck;
    fonts.nextCheck = (fonts.nextCheck + 1) % kFontCheckLimit;
  }
  font->usesTextureCache = HardwareRendererInUse() && !fonts.noTextureCache ? 1 : 0;
  if (face != nullptr) StringCopyN(font->faceName, face, sizeof(font->faceName) - 1);
  fonts.slots[slot] = font;
  const int handle = kFontHandleKind | static_cast<int>(font->check << 16) | slot;

  if (!CreateGdiFont(font, face, charSetClass)) return FailCreation(font, handle);
  if (!MeasureFont(font)) return FailCreation(font, handle);
  if (font->usesTextureCache && !CreateTextureCache(font, handle)) font->usesTextureCache = 0;
  if (!font->usesTextureCache && !CreateMemoryCache(font)) return FailCreation(font, handle);
  ResetFontCache(handle);
  font->charSetClass = charSetClass;
  font->lostFlag = nullptr;
  return handle;
}
