// Font handles: creation and its limits, the handle checks of every public
// function, deletion, the lost flag and the rebuild under the same handle.
#include <string>

#include "platform/windows.h"
#include "support/font_dc.h"
#include "text/font_cache_layout.h"
#include "text/font_record.h"
#include "text/font_system.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

class FontHandleTest : public TextTest {};

TEST_F(FontHandleTest, CreatedFontReportsItsSettingsAndMeasuredCells) {
  Start(0);
  const int font = CreateFontToHandle("メイリオ", 24, 5, 0, -1, -1, 0, -1, -1);
  ASSERT_NE(font, -1);
  EXPECT_EQ(font & 0x78000000, 0x20000000);
  EXPECT_EQ(IsFontHandleValid(font), 1);
  EXPECT_EQ(GetFontSize(font), 24);
  char face[256] = "";
  int size = 0, thickness = 0;
  EXPECT_EQ(GetFontInfo(face, &size, &thickness, font), 0);
  EXPECT_STREQ(face, "メイリオ");
  EXPECT_EQ(size, 24);
  EXPECT_EQ(thickness, 5);
  EXPECT_EQ(GetFontInfo(nullptr, nullptr, nullptr, font), 0);

  // The cell comes from the GDI font's own metrics; the software screen
  // keeps its glyphs in a memory cache.
  wqtest::FontRequest request;
  request.height = 24;
  request.weight = 500;
  request.face = "メイリオ";
  wqtest::FontDc dc(request);
  ASSERT_TRUE(dc.ok());
  const TEXTMETRICA metrics = dc.Metrics();
  const FontCellSize cell = ComputeFontCellSize(metrics.tmMaxCharWidth, metrics.tmHeight, 0);
  const FontRecord* record = FindFontRecord(font);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->cellWidth, cell.cellWidth);
  EXPECT_EQ(record->cellHeight, cell.cellHeight);
  EXPECT_EQ(record->usesTextureCache, 0);
  EXPECT_EQ(record->memoryBits, 1);
  EXPECT_EQ(record->cellCount, ComputeMemoryCacheLayout(cell.cellWidth, 0).cellCount);

  // An edge above 1 makes any type edged; the edged type caches bytes.
  const int edged = CreateFontToHandle(nullptr, 16, -1, 0, -1, 2, 0, -1, -1);
  ASSERT_NE(edged, -1);
  EXPECT_EQ(FindFontRecord(edged)->fontType, 1);
  EXPECT_EQ(FindFontRecord(edged)->memoryBits, 8);
  EXPECT_STREQ(FindFontRecord(edged)->faceName, "");
}

TEST_F(FontHandleTest, EveryFunctionRefusesBadHandles) {
  Start(0);
  const int live = CreateFontToHandle(nullptr, 16, -1, -1, -1, -1, 0, -1, -1);
  ASSERT_NE(live, -1);
  const int deleted = CreateFontToHandle(nullptr, 16, -1, -1, -1, -1, 0, -1, -1);
  ASSERT_EQ(DeleteFont(deleted), 0);
  const int slot = live & 0xFFFF;
  const int stale = (live & ~0x07FF0000) | ((((live >> 16) & 0x7FF) + 1) % 2048) << 16;
  const struct {
    const char* name;
    int handle;
  } cases[] = {
      {"negative", -1},
      {"graph kind", 0x08000000 | (live & 0x07FFFFFF)},
      {"slot past the table", 0x20000000 | 40},
      {"free slot", 0x20000000 | 39},
      {"deleted", deleted},
      {"stale check", stale},
  };
  const std::uint32_t white = MakeColor(255, 255, 255);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int lost = 5, size = 0;
    char face[256];
    EXPECT_EQ(IsFontHandleValid(c.handle), 0);
    EXPECT_EQ(DeleteFont(c.handle), -1);
    EXPECT_EQ(SetFontSpacing(1, c.handle), -1);
    EXPECT_EQ(SetFontLostFlag(c.handle, &lost), -1);
    EXPECT_EQ(lost, 5);
    EXPECT_EQ(GetFontInfo(face, &size, nullptr, c.handle), -1);
    EXPECT_EQ(GetFontSize(c.handle), -1);
    EXPECT_EQ(DrawTextWithFont(0, 0, "A", white, c.handle, 0, 0), -1);
    EXPECT_EQ(DrawTextFormatWithFont(0, 0, white, c.handle, "%d", 1), -1);
    EXPECT_EQ(DrawTextFormatWithFont(0, 0, white, c.handle, "%s", ""), -1);
  }
  EXPECT_EQ(IsFontHandleValid(live), 1);
  EXPECT_EQ(slot, live & 0xFFFF);
  EXPECT_NE(ReadLog().find("フォントハンドル値が異常です"), std::string::npos);
}

TEST_F(FontHandleTest, TheFortyFirstFontIsRefusedWithTheLimitMessage) {
  Start(0);
  int made = 0;
  while (CreateFontToHandle(nullptr, 12, -1, -1, -1, -1, 0, -1, -1) != -1) ++made;
  int live = 0;
  for (const FontRecord* font : FontSystem().slots) live += font != nullptr ? 1 : 0;
  EXPECT_EQ(live, 40);
  EXPECT_GE(made, 38);
  EXPECT_NE(ReadLog().find("作成できるフォントハンドル数 40 の限界を超えました"), std::string::npos);
}

TEST_F(FontHandleTest, AnExplicitSlotMustBeFreeAndKeepsTheGivenCheck) {
  Start(0);
  const int font = CreateFontToHandle(nullptr, 16, -1, -1, -1, -1, 0, 30, 77);
  EXPECT_EQ(font, 0x20000000 | 77 << 16 | 30);
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, -1, -1, -1, 0, 30, -1), -1);
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, -1, -1, -1, 0, 40, -1), -1);
  EXPECT_EQ(IsFontHandleValid(font), 1);
}

TEST_F(FontHandleTest, DeletionAndRebuildSetTheLostFlag) {
  Start(0);
  int lost = 7;
  const int font = CreateFontToHandle(nullptr, 20, -1, 1, -1, 2, 0, -1, -1);
  ASSERT_EQ(SetFontLostFlag(font, &lost), 0);
  EXPECT_EQ(lost, 0);
  ASSERT_EQ(SetFontSpacing(3, font), 0);

  // A rebuild makes the font again under the same handle, with its spacing.
  RebuildAllFonts();
  EXPECT_EQ(lost, 1);
  ASSERT_EQ(IsFontHandleValid(font), 1);
  const FontRecord* record = FindFontRecord(font);
  EXPECT_EQ(record->spacing, 3);
  EXPECT_EQ(record->edgeSize, 2);
  EXPECT_EQ(record->lostFlag, nullptr);

  lost = 0;
  ASSERT_EQ(SetFontLostFlag(font, &lost), 0);
  EXPECT_EQ(DeleteFont(font), 0);
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(IsFontHandleValid(font), 0);
}

TEST_F(FontHandleTest, TheDefaultFontFollowsItsSettingsAndSurvivesAModeChange) {
  Start(0);
  const int first = GetDefaultFont();
  ASSERT_EQ(IsFontHandleValid(first), 1);
  EXPECT_EQ(GetFontSize(first), 16);
  EXPECT_EQ(RefreshDefaultFont(), 0);
  EXPECT_EQ(GetDefaultFont(), first);  // unchanged settings keep the font
  SetDefaultFontSize(nullptr, 24, -1);
  EXPECT_EQ(GetFontSize(GetDefaultFont()), 24);
  ASSERT_EQ(SetScreenMode(640, 480, 32, 60), 0);
  EXPECT_EQ(GetFontSize(GetDefaultFont()), 24);
  SetDefaultFontSize(nullptr, -1, -1);
  EXPECT_EQ(GetFontSize(GetDefaultFont()), 16);
}

TEST(FontCharBytes, ByteKindsWalkFromTheStart) {
  // "aあb": a single, then the two bytes of a double-byte character.
  const char* text = "aあb";
  const struct {
    int index, kind;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, -1}, {-1, -1}};
  for (const auto& c : cases) EXPECT_EQ(GetCharByteKind(text, c.index, 1), c.kind) << c.index;
  EXPECT_EQ(GetCharByteKind("", 0, 1), -1);
  // A trail byte that looks like a lead byte is still a second byte.
  EXPECT_EQ(GetCharByteKind("\x88\x88\x88\x88", 2, 1), 1);
  EXPECT_EQ(GetCharByteKind("\x88\x88\x88\x88", 3, 1), 2);
}

}  // namespace
