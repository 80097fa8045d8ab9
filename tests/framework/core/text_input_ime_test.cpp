// The input-method editor's messages as text input handles them: results
// into the character ring in code page 932, the composition kept, and a
// composition cut to what the active input can still hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "WqLib.h"
#include "platform/control.h"
#include "platform/imm.h"
#include "startup_test_support.h"
#include "core/window/text_input.h"
#include "core/window/text_input_state.h"
#include "core/window/window_system_state.h"

namespace {

const char* Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class TextInputImeTest : public wqtest::StartedLibraryTest {
 protected:
  void SetUp() override {
    wqtest::StartedLibraryTest::SetUp();
    ASSERT_EQ(SetImeEnabled(1), 0);
  }

  static std::string TakeAll() {
    std::string taken;
    unsigned char out[2];
    for (int size; (size = TakeInputChar(out, 1)) != 0;) taken.append(reinterpret_cast<char*>(out), size);
    return taken;
  }
};

TEST_F(TextInputImeTest, AResultArrivesInTheRingInCodePage932) {
  EXPECT_EQ(IsImeInUse(), 0);
  WqControlInjectText(GetMainWindow(), Utf8(u8"日本語"));
  EXPECT_EQ(IsImeInUse(), 1);
  // The window procedure takes the result itself: it is not typed twice.
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeAll(), "日本語");
  EXPECT_EQ(TextInput().ime.composing, 0);
}

TEST_F(TextInputImeTest, AResultThatDoesNotFitTheRingLeavesNoHalfCharacter) {
  // One slot left: the first character of the result needs two.
  for (int i = 0; i < 1023; ++i) ASSERT_EQ(PushInputChar('x'), 0);
  WqControlInjectText(GetMainWindow(), Utf8(u8"日本"));
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeAll(), std::string(1023, 'x'));
  ASSERT_EQ(PushInputChar('a'), 0);
  EXPECT_EQ(TakeAll(), "a");
}

// A double-byte character typed without the input method comes as two
// character messages; with one slot left it is dropped whole.
TEST_F(TextInputImeTest, ATypedCharacterThatDoesNotFitTheRingLeavesNoHalfCharacter) {
  for (int i = 0; i < 1023; ++i) ASSERT_EQ(PushInputChar('x'), 0);
  const unsigned char nichi[2] = {0x93, 0xFA};  // "日" in code page 932
  for (unsigned char byte : nichi) PostMessageA(GetMainWindow(), WM_CHAR, byte, 0);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeAll(), std::string(1023, 'x'));
  for (unsigned char byte : nichi) PostMessageA(GetMainWindow(), WM_CHAR, byte, 0);
  PostMessageA(GetMainWindow(), WM_CHAR, 'a', 0);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeAll(), "\x93\xFA" "a");
}

TEST_F(TextInputImeTest, TheCompositionAndItsCursorAreKept) {
  WqControlInjectComposition(GetMainWindow(), Utf8(u8"にほんご"), 3);
  const ImeState& ime = TextInput().ime;
  EXPECT_EQ(ime.composing, 1);
  EXPECT_STREQ(ime.composition, "にほんご");
  EXPECT_EQ(ime.cursorPosition, 3);
  EXPECT_EQ(ime.attributeCount, 2);
  EXPECT_EQ(ime.clauseSize, 8);
  WqControlInjectComposition(GetMainWindow(), "", 0);
  EXPECT_EQ(ime.composing, 0);
  EXPECT_STREQ(ime.composition, "");
}

TEST_F(TextInputImeTest, ACompositionIsCutToWhatTheInputCanStillHold) {
  const int handle = MakeTextInputHandle(5, 0, 0, 0);
  ASSERT_EQ(SetActiveTextInputHandle(handle), 0);
  for (char byte : std::string("ab")) PushInputChar(static_cast<unsigned char>(byte));
  ASSERT_EQ(PumpMessages(), 0);
  WqControlInjectComposition(GetMainWindow(), Utf8(u8"にほん"), 3);
  ASSERT_EQ(PumpMessages(), 0);
  // Three bytes are left: one double-byte character fits, half of one not.
  EXPECT_STREQ(TextInput().ime.composition, "に");
  EXPECT_EQ(TextInput().ime.composing, 1);
}

TEST_F(TextInputImeTest, DisablingDropsTheComposition) {
  WqControlInjectComposition(GetMainWindow(), "abc", 3);
  ASSERT_EQ(TextInput().ime.composing, 1);
  ASSERT_EQ(SetImeEnabled(0), 0);
  EXPECT_EQ(TextInput().ime.composing, 0);
  EXPECT_STREQ(TextInput().ime.composition, "");
  // With the input method off, text is typed as characters.
  WqControlInjectText(GetMainWindow(), "xy");
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeAll(), "xy");
}

TEST_F(TextInputImeTest, ReenablingKeepsTheCompositionAndLeavesTheMethodOpen) {
  WqControlInjectComposition(GetMainWindow(), Utf8(u8"かな"), 2);
  MarkImeReenable();
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TextInput().ime.resetStep, 0);
  EXPECT_STREQ(TextInput().ime.composition, "かな");
  EXPECT_EQ(TextInput().ime.openStatus, 1);
  HIMC context = ImmGetContext(GetMainWindow());
  EXPECT_TRUE(ImmGetOpenStatus(context));
  ImmReleaseContext(GetMainWindow(), context);
}

TEST_F(TextInputImeTest, TheMethodsNotificationsAreFollowed) {
  const HWND window = GetMainWindow();
  HIMC context = ImmGetContext(window);
  ASSERT_TRUE(ImmSetOpenStatus(context, FALSE));
  EXPECT_EQ(TextInput().ime.openStatus, 0);
  ASSERT_TRUE(ImmSetOpenStatus(context, TRUE));
  EXPECT_EQ(TextInput().ime.openStatus, 1);
  ImmReleaseContext(window, context);
  // A candidate window whose list the method does not offer.
  EXPECT_EQ(SendMessageA(window, WM_IME_NOTIFY, IMN_OPENCANDIDATE, 1), 0);
  EXPECT_NE(ReadLog().find("漢字変換候補のデータサイズが０でした  DefHWND:"), std::string::npos);
  EXPECT_EQ(TextInput().ime.candidates, nullptr);
}

}  // namespace
