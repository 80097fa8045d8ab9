// The ending frame by frame, without a window: the conversation waits for
// Enter, the staff background loads at once, each staff page holds the game
// for three seconds of the virtual clock, and the last step leads to the
// end picture.
#include <gtest/gtest.h>

#include <cstdint>

#include "ending.h"
#include "game_state.h"
#include "game/enter_key.h"
#include "platform/control.h"

namespace {

class EndingFlow : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    sceneNumber = 27;
    dialogueIndex = 0;
    dialogueTimer = 0;
  }
  void TearDown() override { WqControlEnableVirtualClock(false); }

  // One frame of the ending with Enter down or up: its virtual time.
  static std::uint64_t Frame(bool enterDown) {
    gametest::ReadKeysWithEnter(enterDown);
    const std::uint64_t before = WqControlGetVirtualClockUs();
    RunEnding();
    return WqControlGetVirtualClockUs() - before;
  }
};

TEST_F(EndingFlow, ConversationThenStaffPagesThenTheEndPicture) {
  // Steps 0 to 3 wait for a fresh Enter after sixty frames.
  for (int step = 0; step < ENDING_CONVERSATION_STEPS; ++step) {
    for (int frame = 1; frame < DIALOGUE_MIN_FRAMES; ++frame) {
      EXPECT_LT(Frame(frame == 1), 1000u);
      ASSERT_EQ(dialogueIndex, step);
    }
    Frame(true);
    ASSERT_EQ(dialogueIndex, step + 1);
    ASSERT_EQ(dialogueTimer, 0);
  }
  // Step 4 loads the staff background and goes on at once.
  EXPECT_LT(Frame(false), 1000u);
  EXPECT_EQ(dialogueIndex, ENDING_FIRST_PAGE_STEP);
  // Four pages of three seconds each, one frame apiece, no key needed.
  for (int page = 0; page < STAFF_PAGE_COUNT; ++page) {
    const std::uint64_t held = Frame(false);
    EXPECT_GE(held, 3'000'000u) << page;
    EXPECT_LT(held, 3'010'000u) << page;
    EXPECT_EQ(dialogueIndex, ENDING_FIRST_PAGE_STEP + page + 1);
    EXPECT_EQ(sceneNumber, 27);
  }
  // Step 9 hands over to the end picture and stays at 9.
  EXPECT_LT(Frame(false), 1000u);
  EXPECT_EQ(sceneNumber, END_PICTURE_SCENE);
  EXPECT_EQ(dialogueIndex, ENDING_LAST_STEP);
}

TEST_F(EndingFlow, IndexOutsideTheStepsOnlyCountsTheFrame) {
  for (int index : {-1, 10, 99}) {
    dialogueIndex = index;
    dialogueTimer = 5;
    EXPECT_LT(Frame(true), 1000u);
    EXPECT_EQ(dialogueIndex, index);
    EXPECT_EQ(dialogueTimer, 6);
    EXPECT_EQ(sceneNumber, 27);
  }
}

}  // namespace
