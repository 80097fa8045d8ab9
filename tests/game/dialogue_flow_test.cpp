// The dialogue mechanism frame by frame, without a window: when Enter
// advances a step, what a flash and an end step do, and where the start
// geometry puts the boss and the player. Pauses run on the virtual clock.
#include <gtest/gtest.h>

#include <cstdint>

#include "dialogue_scripts.h"
#include "game_state.h"
#include "game/enter_key.h"
#include "game/start_geometry_checks.h"
#include "platform/control.h"

namespace {

class DialogueFlow : public testing::Test {
 protected:
  void SetUp() override { WqControlEnableVirtualClock(true); }
  void TearDown() override { WqControlEnableVirtualClock(false); }

  // One frame of the scene with Enter down or up.
  static void Frame(void (*scene)(), bool enterDown) {
    gametest::ReadKeysWithEnter(enterDown);
    scene();
  }
  // Frames with Enter up until the step has been up long enough, then a
  // fresh press.
  static void ReadAndPressEnter(void (*scene)()) {
    Frame(scene, false);
    while (dialogueTimer < DIALOGUE_MIN_FRAMES - 1) Frame(scene, false);
    Frame(scene, true);
  }
};

TEST_F(DialogueFlow, EnterAdvancesOnlyWhenFreshlyPressedAfterSixtyFrames) {
  sceneNumber = 7;
  dialogueIndex = 0;
  dialogueTimer = 0;
  // Pressed at once, then held on past the sixty frames: no advance.
  for (int frame = 0; frame < 100; ++frame) Frame(RunStage2DialogueBefore, true);
  EXPECT_EQ(dialogueIndex, 0);
  EXPECT_EQ(dialogueTimer, 100);
  Frame(RunStage2DialogueBefore, false);
  Frame(RunStage2DialogueBefore, true);
  EXPECT_EQ(dialogueIndex, 1);
  EXPECT_EQ(dialogueTimer, 0);

  // On the next step: a press in the step's 59th frame is ignored, one in
  // its 60th counts.
  for (int frame = 1; frame < 59; ++frame) Frame(RunStage2DialogueBefore, false);
  Frame(RunStage2DialogueBefore, true);
  EXPECT_EQ(dialogueTimer, 59);
  EXPECT_EQ(dialogueIndex, 1);
  Frame(RunStage2DialogueBefore, false);
  EXPECT_EQ(dialogueIndex, 1);
  dialogueTimer = 59;
  Frame(RunStage2DialogueBefore, true);
  EXPECT_EQ(dialogueIndex, 2);
  EXPECT_EQ(sceneNumber, 7);
}

TEST_F(DialogueFlow, FlashStepsTakeOneFrameAndAPauseWithoutAKey) {
  struct Case {
    void (*scene)();
    int scene_number;
    int flashIndex;
  };
  for (const Case& flash : {Case{RunStage1DialogueBefore, 3, -1}, Case{RunStage6DialogueAfter, 25, 2}}) {
    sceneNumber = flash.scene_number;
    dialogueIndex = flash.flashIndex;
    dialogueTimer = 7;
    const std::uint64_t before = WqControlGetVirtualClockUs();
    Frame(flash.scene, false);
    const std::uint64_t paused = WqControlGetVirtualClockUs() - before;
    EXPECT_GE(paused, 100'000u);
    EXPECT_LT(paused, 110'000u);
    EXPECT_EQ(dialogueIndex, flash.flashIndex + 1);
    EXPECT_EQ(dialogueTimer, 8);  // counted, not cleared
    EXPECT_EQ(sceneNumber, flash.scene_number);
  }
}

TEST_F(DialogueFlow, EndStepMovesToTheNextSceneAndKeepsTheIndex) {
  for (int stage = 1; stage <= 6; ++stage) {
    for (DialogueMoment moment : {DialogueMoment::BeforeBattle, DialogueMoment::AfterBattle}) {
      const DialogueScript& script = StageDialogue(stage, moment);
      const int endIndex = script.firstIndex + script.stepCount - 1;
      sceneNumber = 4 * stage + (moment == DialogueMoment::BeforeBattle ? -1 : 1);
      dialogueIndex = endIndex;
      RunDialogue(script);
      EXPECT_EQ(sceneNumber, 4 * stage + (moment == DialogueMoment::BeforeBattle ? 0 : 2)) << stage;
      EXPECT_EQ(dialogueIndex, endIndex);
    }
  }
}

TEST_F(DialogueFlow, IndexOutsideTheScriptOnlyCountsTheFrame) {
  sceneNumber = 23;
  for (int index : {-1, 7, 1000}) {
    dialogueIndex = index;
    dialogueTimer = 3;
    Frame(RunStage6DialogueBefore, true);
    EXPECT_EQ(dialogueIndex, index);
    EXPECT_EQ(dialogueTimer, 4);
    EXPECT_EQ(sceneNumber, 23);
  }
}

TEST_F(DialogueFlow, StartGeometryHoldsBossAndPlayerWhileTheStepIsShown) {
  sceneNumber = 23;
  dialogueIndex = 0;
  dialogueTimer = 0;
  player.width = 38;
  boss = ObjectRecord{};
  boss.x = 387.0;
  boss.y = 200.0;
  for (int frame = 0; frame < 3; ++frame) {
    player.x = 100.0 + frame;  // moved between frames
    player.y = 300.0;
    Frame(RunStage6DialogueBefore, false);
    gametest::ExpectStartGeometry();
  }
  // The next step leaves them where they are.
  ReadAndPressEnter(RunStage6DialogueBefore);
  ASSERT_EQ(dialogueIndex, 1);
  player.x = 100.0;
  Frame(RunStage6DialogueBefore, false);
  EXPECT_EQ(player.x, 100.0);
}

// Whole scenes read through by a player who presses Enter as soon as a
// step may advance: each text step takes one press, the flash none, and the
// end step hands over to the next scene.
TEST_F(DialogueFlow, ScenesReadThroughToTheirEnd) {
  struct Case {
    void (*scene)();
    int stage;
    DialogueMoment moment;
    int advancingPresses;
  };
  const Case cases[] = {
      {RunStage1DialogueBefore, 1, DialogueMoment::BeforeBattle, 12},
      {RunStage6DialogueAfter, 6, DialogueMoment::AfterBattle, 6},
  };
  for (const Case& scene : cases) {
    const DialogueScript& script = StageDialogue(scene.stage, scene.moment);
    const int firstScene = 4 * scene.stage + (scene.moment == DialogueMoment::BeforeBattle ? -1 : 1);
    sceneNumber = firstScene;
    dialogueIndex = script.firstIndex;
    dialogueTimer = 0;
    int advancingPresses = 0;
    bool wasDown = false;
    for (int frame = 0; frame < 10'000 && sceneNumber == firstScene; ++frame) {
      const bool down = !wasDown && dialogueTimer >= DIALOGUE_MIN_FRAMES - 1;
      const int index = dialogueIndex;
      Frame(scene.scene, down);
      if (down && dialogueIndex == index + 1) ++advancingPresses;
      wasDown = down;
    }
    EXPECT_EQ(sceneNumber, firstScene + 1);
    EXPECT_EQ(dialogueIndex, script.firstIndex + script.stepCount - 1);
    EXPECT_EQ(advancingPresses, scene.advancingPresses);
  }
}

}  // namespace
