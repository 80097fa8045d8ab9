#include "dialogue_step.h"

#include <WqLib.h>

#include "boss_drawing.h"
#include "game_records.h"
#include "game_state.h"
#include "key_codes.h"
#include "key_hold.h"
#include "picture_cache.h"
#include "screen_waits.h"
#include "stage_loaders.h"

namespace {

int GraphOf(DialoguePicture picture) {
  switch (picture) {
    case DialoguePicture::Slot0:
    case DialoguePicture::Slot1:
    case DialoguePicture::Slot2:
    case DialoguePicture::Slot3:
      return dialoguePictures[static_cast<int>(picture)];
    case DialoguePicture::Player:
      return playerDialogueGraph;
    case DialoguePicture::Backdrop:
      return dialogueBackdropGraph;
    case DialoguePicture::None:
      break;
  }
  return -1;
}

void DrawLines(const DialogueStep& step) {
  const std::uint32_t white = MakeColor(255, 255, 255);
  for (int k = 0; k < DialogueLineCount(step); ++k) {
    const int row = step.firstRow + k;
    DrawTextWithFont(DIALOGUE_TEXT_X, DIALOGUE_TEXT_Y + DIALOGUE_ROW_HEIGHT * row, step.lines[k], white, dialogueFont, 0,
                     0);
  }
}

void ShowPictureAndLines(const DialogueStep& step) {
  if (step.boss == BossPlacement::AroundPicture) DrawBoss();
  DrawGraph(PLAYFIELD_LEFT, PLAYFIELD_TOP, GraphOf(step.picture), 1);
  if (step.boss == BossPlacement::AroundPicture || step.boss == BossPlacement::OverPicture) DrawBoss();
  DrawLines(step);
  if (step.boss == BossPlacement::AfterLines) DrawBoss();
}

// Only the frame of the press counts, and only once the step has been up
// long enough to be read.
void AdvanceOnEnter() {
  if (KeyPressed(KEY_ENTER) && dialogueTimer >= DIALOGUE_MIN_FRAMES) {
    dialogueTimer = 0;
    dialogueIndex = dialogueIndex + 1;
  }
}

// The whole screen white for the pause; the frame's other drawing follows
// after it.
void FlashWhite(bool withBombSound) {
  const int white = LoadPicture("Pict/Effect/white.png");
  if (withBombSound) PlaySoundHandle(bombSound, 1, 1);
  DrawGraph(0, 0, white, 1);
  ShowAndWaitMilliseconds(DIALOGUE_FLASH_MS);
}

}  // namespace

int DialogueLineCount(const DialogueStep& step) {
  int count = 0;
  while (count < DIALOGUE_MAX_LINES && step.lines[count] != nullptr) ++count;
  return count;
}

void RunDialogueStep(const DialogueStep& step) {
  switch (step.kind) {
    case DialogueStepKind::StartGeometry:
      ResetStartGeometry();
      [[fallthrough]];
    case DialogueStepKind::Text:
      ShowPictureAndLines(step);
      AdvanceOnEnter();
      break;
    case DialogueStepKind::Flash:
    case DialogueStepKind::BombFlash:
      FlashWhite(step.kind == DialogueStepKind::BombFlash);
      if (step.picture != DialoguePicture::None) ShowPictureAndLines(step);
      // The flash does not wait for a key and leaves the step timer running.
      dialogueIndex = dialogueIndex + 1;
      break;
    case DialogueStepKind::End:
      sceneNumber = sceneNumber + 1;
      break;
  }
}

void RunDialogue(const DialogueScript& script) {
  dialogueTimer = dialogueTimer + 1;
  const int position = dialogueIndex - script.firstIndex;
  if (position < 0 || position >= script.stepCount) return;
  RunDialogueStep(script.steps[position]);
}
