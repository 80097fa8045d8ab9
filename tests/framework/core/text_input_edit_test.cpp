// Editing a text input: what typed characters and edit codes do to its
// buffer, cursor and selection, with Shift held where a step says so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WqLib.h"
#include "platform/control.h"
#include "startup_test_support.h"
#include "core/window/text_input.h"
#include "core/window/text_input_state.h"
#include "core/window/window_system_state.h"

namespace {

constexpr char kLeft[] = "\x1D";
constexpr char kRight[] = "\x1C";
constexpr char kHome[] = "\x1A";
constexpr char kEnd[] = "\x19";
constexpr char kDelete[] = "\x10";
constexpr char kBack[] = "\x08";
constexpr char kPageUp[] = "\x17";
constexpr char kPageDown[] = "\x15";

struct Step {
  bool shift;
  std::string bytes;
};

struct EditCase {
  const char* name;
  int maxLength;
  int digitsOnly;
  int singleByteOnly;
  std::vector<Step> steps;
  std::string text;
  int cursor;
  int selectionStart;
};

class TextInputEditTest : public wqtest::StartedLibraryTest {
 protected:
  // Each step: a frame with Shift as the step says, then a frame in which
  // its bytes are typed.
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      WqControlInjectKey(GetMainWindow(), VK_SHIFT, step.shift);
      Frame();
      for (char byte : step.bytes) ASSERT_EQ(PushInputChar(static_cast<unsigned char>(byte)), 0);
      Frame();
    }
  }

  static void Frame() {
    WqControlAdvanceVirtualClock(1000);
    ASSERT_EQ(PumpMessages(), 0);
  }
};

TEST_F(TextInputEditTest, EditingTable) {
  const EditCase cases[] = {
      {"typing into a full input drops the last character", 4, 0, 0,
       {{false, "abcd"}, {false, std::string(kHome) + kRight + kRight}, {false, "X"}}, "abXc", 3, -1},
      {"Shift selects, Back Space removes the selection", 8, 0, 0,
       {{false, std::string("abcd") + kHome + kRight}, {true, std::string(kRight) + kRight}, {false, kBack}},
       "ad", 1, -1},
      {"a move without Shift ends the selection", 8, 0, 0,
       {{false, "abcd"}, {true, kLeft}, {false, kLeft}}, "abcd", 2, -1},
      {"End with Shift selects to the end", 8, 0, 0,
       {{false, std::string("abcd") + kHome}, {true, kEnd}}, "abcd", 4, 0},
      {"typing replaces the selection", 8, 0, 0,
       {{false, std::string("abcd") + kHome}, {true, std::string(kRight) + kRight}, {false, "X"}}, "Xcd", 1, -1},
      {"Back Space removes a double-byte character whole", 8, 0, 0,
       {{false, "\x82\xA0\x82\xA2"}, {false, kBack}}, "\x82\xA0", 2, -1},
      {"Delete removes the double-byte character at the cursor", 8, 0, 0,
       {{false, std::string("\x82\xA0\x82\xA2") + kHome + kDelete}}, "\x82\xA2", 0, -1},
      {"Left steps over a double-byte character", 8, 0, 0,
       {{false, std::string("a\x82\xA0") + kLeft + "b"}}, "ab\x82\xA0", 2, -1},
      {"digits only", 8, 1, 0, {{false, "1a2\x82\xA0" "3"}}, "123", 3, -1},
      {"single-byte only", 8, 0, 1, {{false, "a\x82\xA0" "b"}}, "ab", 2, -1},
      {"Page Up and Page Down leave the text as it is", 8, 0, 0,
       {{false, std::string("ab") + kPageUp + kPageDown + "c"}}, "abc", 3, -1},
      {"a double-byte character wider than the input is refused", 1, 0, 0,
       {{false, "\x82\xA0"}, {false, "z"}}, "z", 1, -1},
      {"a full input of double-byte text makes room by whole characters", 4, 0, 0,
       {{false, "\x82\xA0\x82\xA2"}, {false, std::string(kHome) + "a"}}, "a\x82\xA0", 1, -1},
  };
  for (const EditCase& test : cases) {
    SCOPED_TRACE(test.name);
    const int handle = MakeTextInputHandle(test.maxLength, 0, test.singleByteOnly, test.digitsOnly);
    ASSERT_NE(handle, -1);
    ASSERT_EQ(SetActiveTextInputHandle(handle), 0);
    Run(test.steps);
    const TextInputRecord* record = FindTextInputRecord(handle);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::string(record->buffer), test.text);
    EXPECT_EQ(record->length, static_cast<int>(test.text.size()));
    EXPECT_EQ(record->cursor, test.cursor);
    EXPECT_EQ(record->selectionStart, test.selectionStart);
    EXPECT_EQ(DeleteTextInputHandle(handle), 0);
  }
}

TEST_F(TextInputEditTest, EnterEndsTheInputAndLeavesTheRestQueued) {
  const int handle = MakeTextInputHandle(8, 0, 0, 0);
  ASSERT_EQ(SetActiveTextInputHandle(handle), 0);
  Run({{false, "ab\rcd"}});
  const TextInputRecord* record = FindTextInputRecord(handle);
  EXPECT_EQ(record->ended, 1u);
  EXPECT_EQ(record->cancelled, 0u);
  EXPECT_EQ(std::string(record->buffer), "ab");
  unsigned char out[2];
  ASSERT_EQ(TakeInputChar(out, 0), 1);
  EXPECT_EQ(out[0], 'c');
}

TEST_F(TextInputEditTest, EscapeCancelsOnlyWhereItIsAskedTo) {
  const int keeps = MakeTextInputHandle(8, 0, 0, 0);
  const int cancels = MakeTextInputHandle(8, 1, 0, 0);
  ASSERT_EQ(SetActiveTextInputHandle(keeps), 0);
  Run({{false, "a\x1B"}});
  EXPECT_EQ(FindTextInputRecord(keeps)->ended, 0u);
  ASSERT_EQ(SetActiveTextInputHandle(cancels), 0);
  Run({{false, "\x1B"}});
  EXPECT_EQ(FindTextInputRecord(cancels)->ended, 1u);
  EXPECT_EQ(FindTextInputRecord(cancels)->cancelled, 1u);
}

TEST_F(TextInputEditTest, HandlesAreCheckedAndDeletingTheActiveOneClearsIt) {
  const int handle = MakeTextInputHandle(8, 0, 0, 0);
  ASSERT_EQ(SetActiveTextInputHandle(handle), 0);
  EXPECT_EQ(SetActiveTextInputHandle(handle + 1), -1);
  EXPECT_EQ(DeleteTextInputHandle(handle), 0);
  EXPECT_EQ(DeleteTextInputHandle(handle), -1);
  EXPECT_EQ(TextInput().activeHandle, -1);
  // A new handle in the same slot is not the old one.
  const int again = MakeTextInputHandle(8, 0, 0, 0);
  EXPECT_NE(again, handle);
  EXPECT_EQ(FindTextInputRecord(handle), nullptr);
  EXPECT_EQ(ProcessTextInput(), 0);
  TextInput().activeHandle = handle;
  EXPECT_EQ(ProcessTextInput(), -1);
  TextInput().activeHandle = -1;
}

TEST_F(TextInputEditTest, CopyCutAndPasteGoThroughTheClipboard) {
  const int handle = MakeTextInputHandle(16, 0, 0, 0);
  ASSERT_EQ(SetActiveTextInputHandle(handle), 0);
  Run({{false, std::string("hello") + kHome}, {true, std::string(kRight) + kRight}, {false, "\x18"},
       {false, std::string(kEnd) + "\x16"}});
  EXPECT_EQ(std::string(FindTextInputRecord(handle)->buffer), "llohe");
}

}  // namespace
