// The input-character ring and the edit-key table.
#include <gtest/gtest.h>

#include "core/window/text_input.h"

namespace {

TEST(TextInputRingTest, HoldsAtMost1024BytesAndKeepsTheirOrderAcrossTheWrap) {
  InitTextInput();
  unsigned char out[2];
  // Move the indexes so that the full ring wraps around its end.
  for (int i = 0; i < 700; ++i) PushInputChar('x');
  while (TakeInputChar(out, 1) != 0) {
  }
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(PushInputChar(static_cast<unsigned char>('0' + i % 10)), 0) << i;
  EXPECT_EQ(PushInputChar('!'), -1);
  for (int i = 0; i < 1024; ++i) {
    ASSERT_EQ(TakeInputChar(out, 1), 1);
    ASSERT_EQ(out[0], '0' + i % 10) << i;
  }
  EXPECT_EQ(TakeInputChar(out, 1), 0);
  EXPECT_EQ(PushInputChar('!'), 0);
}

TEST(TextInputRingTest, FullWhenReadIsAtTheStartAndWriteAtTheEnd) {
  InitTextInput();
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(PushInputChar('a'), 0);
  EXPECT_EQ(PushInputChar('a'), -1);
}

TEST(TextInputRingTest, ALeadByteWaitsForItsSecondByte) {
  InitTextInput();
  unsigned char out[2] = {0, 0};
  ASSERT_EQ(PushInputChar(0x82), 0);
  EXPECT_EQ(TakeInputChar(out, 1), 0);
  ASSERT_EQ(PushInputChar(0xA0), 0);
  // Peeking leaves it in the ring.
  EXPECT_EQ(TakeInputChar(out, 0), 2);
  EXPECT_EQ(TakeInputChar(out, 1), 2);
  EXPECT_EQ(out[0], 0x82);
  EXPECT_EQ(out[1], 0xA0);
  EXPECT_EQ(TakeInputChar(out, 1), 0);
}

TEST(TextInputRingTest, EditKeysTable) {
  const struct {
    WPARAM virtualKey;
    int code;
  } cases[] = {
      {VK_DELETE, 0x10}, {VK_LEFT, 0x1D}, {VK_RIGHT, 0x1C}, {VK_UP, 0x1E},  {VK_DOWN, 0x1F},
      {VK_HOME, 0x1A},   {VK_END, 0x19},  {VK_PRIOR, 0x17}, {VK_NEXT, 0x15}, {'A', 0},
      {VK_RETURN, 0},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.virtualKey);
    EXPECT_EQ(FindEditKeyChar(test.virtualKey), test.code);
    if (test.code != 0) {
      EXPECT_EQ(IsEditControlChar(static_cast<unsigned char>(test.code)), 1);
    }
  }
  EXPECT_EQ(IsEditControlChar('a'), 0);
  EXPECT_EQ(IsEditControlChar(0x08), 0);
}

}  // namespace
