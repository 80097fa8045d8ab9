// The font handle table: looking records up, deleting fonts and the small
// accessors. Every entry point refuses a handle of another kind, a free
// slot and a stale check value alike.
#include "WqLib.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"
#include "graphics/graph_setup.h"
#include "text/font_record.h"

namespace {

constexpr int kKindMask = 0x78000000;
constexpr int kCheckMask = 0x07FF0000;
constexpr int kIndexMask = 0xFFFF;

FontSystemState g_fonts;

int SlotOf(int handle) { return handle & kIndexMask; }

}  // namespace

FontSystemState& FontSystem() { return g_fonts; }

FontRecord* FindFontRecord(int handle) {
  if (handle < 0 || (handle & kKindMask) != kFontHandleKind) return nullptr;
  const int slot = SlotOf(handle);
  if (slot >= kFontSlotCount) return nullptr;
  FontRecord* font = g_fonts.slots[slot];
  if (font == nullptr || static_cast<int>(font->check << 16) != (handle & kCheckMask)) return nullptr;
  return font;
}

int IsFontHandleValid(int handle) { return FindFontRecord(handle) != nullptr ? 1 : 0; }

int DeleteFont(int handle) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  if (font->gdiFont != nullptr) DeleteObject(font->gdiFont);
  TrackedFree(font->memoryCache);
  if (font->cacheGraph >= 0) {
    DeleteGraph(font->edgeCacheGraph);
    DeleteGraph(font->cacheGraph);
  }
  font->cacheGraph = font->edgeCacheGraph = -1;
  ReleaseBaseImage(&font->cacheImage);
  if (font->lostFlag != nullptr) *font->lostFlag = 1;
  TrackedFree(font);
  g_fonts.slots[SlotOf(handle)] = nullptr;
  return 0;
}

int SetFontSpacing(int spacing, int handle) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  font->spacing = spacing;
  return 0;
}

int SetFontLostFlag(int handle, int* lostFlag) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  font->lostFlag = lostFlag;
  if (lostFlag != nullptr) *lostFlag = 0;
  return 0;
}

int GetFontInfo(char* faceName, int* size, int* thickness, int handle) {
  const FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  if (faceName != nullptr) StringCopy(faceName, font->faceName);
  if (size != nullptr) *size = font->size;
  if (thickness != nullptr) *thickness = font->thickness;
  return 0;
}

int GetFontSize(int handle) {
  const FontRecord* font = FindFontRecord(handle);
  return font != nullptr ? font->size : -1;
}

int GetDefaultFont() { return g_fonts.defaultFont; }

int GetCharByteKind(const char* text, int index, int charSetClass) {
  if (text == nullptr || text[0] == '\0' || index < 0) return -1;
  int at = 0;
  while (text[at] != '\0') {
    const bool lead = IsLeadByte(text + at, charSetClass) && text[at + 1] != '\0';
    if (!lead) {
      if (at == index) return 0;
      at += 1;
      continue;
    }
    if (at == index) return 1;
    if (at + 1 == index) return 2;
    at += 2;
  }
  return -1;
}
