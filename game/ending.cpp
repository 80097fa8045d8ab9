#include "ending.h"

#include <WqLib.h>

#include "game_state.h"
#include "picture_cache.h"
#include "screen_waits.h"

namespace {

constexpr int kHeadingX = 80;
constexpr int kHeadingY = 180;
constexpr int kEntryX = 120;
constexpr int kFirstEntryY = 380;
constexpr int kEntrySpacing = 60;

void DrawStaffText(int x, int y, const char* text) {
  DrawTextWithFont(x, y, text, MakeColor(241, 255, 143), hudFont, 0, 0);
}

// The page is shown for its whole time, not only after it.
void ShowStaffPage(const StaffPage& page) {
  DrawGraph(0, 0, staffGraph, 1);
  DrawStaffText(kHeadingX, kHeadingY, page.heading);
  for (int i = 0; i < STAFF_PAGE_MAX_ENTRIES && page.entries[i] != nullptr; ++i) {
    DrawStaffText(kEntryX, kFirstEntryY + kEntrySpacing * i, page.entries[i]);
  }
  ShowAndWaitMilliseconds(STAFF_PAGE_MS);
}

}  // namespace

void RunEnding() {
  dialogueTimer = dialogueTimer + 1;
  const int step = dialogueIndex;
  if (step >= 0 && step < ENDING_CONVERSATION_STEPS) {
    RunDialogueStep(endingConversation[step]);
  } else if (step == ENDING_LOAD_STAFF_STEP) {
    staffGraph = LoadPicture("Pict/Backgraund/staff.png");
    dialogueIndex = dialogueIndex + 1;
  } else if (step >= ENDING_FIRST_PAGE_STEP && step < ENDING_FIRST_PAGE_STEP + STAFF_PAGE_COUNT) {
    ShowStaffPage(staffPages[step - ENDING_FIRST_PAGE_STEP]);
    dialogueIndex = dialogueIndex + 1;
  } else if (step == ENDING_LAST_STEP) {
    endGraph = LoadPicture("Pict/Backgraund/end.png");
    sceneNumber = END_PICTURE_SCENE;
  }
}
