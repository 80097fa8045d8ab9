#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/control.h"
#include "platform/windows.h"

namespace {

// Puts the text on the clipboard as a program does: a global block handed
// over with SetClipboardData.
bool PlaceText(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool placed = SetClipboardData(CF_TEXT, block) == block;
  CloseClipboard();
  return placed;
}

std::string ReadText() {
  if (!OpenClipboard(nullptr)) return "<not opened>";
  std::string text = "<none>";
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(block));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

TEST(ClipboardTextTest, ShiftJisTextRoundTripsThroughTheWindowSystem) {
  // 表 ends in the byte 0x5C, which must survive as part of its character.
  const std::string text = "表示テスト abc\\";
  // The one test that uses the display's clipboard; the others keep theirs
  // in the process, as the test main sets it.
  WqControlShareClipboardWithWindowSystem(true);
  ASSERT_TRUE(PlaceText(text));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(ReadText(), text);
  // The block stays the clipboard's: reading again gives the same text.
  EXPECT_EQ(ReadText(), text);
  WqControlShareClipboardWithWindowSystem(false);
}

TEST(ClipboardTextTest, EmptyingLeavesNoText) {
  ASSERT_TRUE(PlaceText("abc"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(EmptyClipboard());
  CloseClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(ReadText(), "<none>");
}

TEST(ClipboardTextTest, SettingTheClipboardsOwnBlockAgainKeepsIt) {
  ASSERT_TRUE(PlaceText("abc"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE block = GetClipboardData(CF_TEXT);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  CloseClipboard();
  EXPECT_EQ(ReadText(), "abc");
}

TEST(ClipboardTextTest, CallsNeedTheClipboardOpenAndOnlyTextIsKept) {
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_FALSE(CloseClipboard());

  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  EXPECT_EQ(SetClipboardData(2 /* CF_BITMAP */, block), nullptr);
  GlobalFree(block);
  CloseClipboard();
}

}  // namespace
