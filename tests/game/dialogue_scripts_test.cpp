// The dialogue scenes' and the ending's tables: which picture each step
// shows, how many lines, where the boss is drawn, the first index of each
// scene, and that every text fits where it is drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogue_scripts.h"
#include "ending.h"

namespace {

// A step in the notation of the expectations below: the picture and the
// number of lines ("s2 1"), "start" for a step that applies the start
// geometry, "flash" and "bomb-flash" before the picture it ends on, the
// boss's place ("boss-around", "boss-over", "boss-after"), and "end".
std::string Describe(const DialogueStep& step) {
  static const char* const kPictures[] = {"s0", "s1", "s2", "s3", "P", "K", "-"};
  static const char* const kBoss[] = {"", " boss-around", " boss-over", " boss-after"};
  std::string text;
  switch (step.kind) {
    case DialogueStepKind::End:
      return "end";
    case DialogueStepKind::Flash:
      text = "flash ";
      break;
    case DialogueStepKind::BombFlash:
      text = "bomb-flash";
      if (step.picture == DialoguePicture::None && DialogueLineCount(step) == 0) return text;
      text += " ";
      break;
    default:
      break;
  }
  text += kPictures[static_cast<int>(step.picture)];
  text += " " + std::to_string(DialogueLineCount(step));
  if (step.kind == DialogueStepKind::StartGeometry) text += " start";
  text += kBoss[static_cast<int>(step.boss)];
  if (step.firstRow != 0) text += " row" + std::to_string(step.firstRow);
  return text;
}

std::string Describe(const DialogueStep* steps, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i == 0 ? "" : " | ") + Describe(steps[i]);
  return text;
}

struct ScriptCase {
  int stage;
  DialogueMoment moment;
  int firstIndex;
  const char* steps;
};

const ScriptCase kScriptCases[] = {
    {1, DialogueMoment::BeforeBattle, -2,
     "P 4 | flash K 1 | K 1 | P 1 | s2 1 boss-around | s3 1 boss-over | s2 1 boss-after | s3 1 boss-after | "
     "s0 1 boss-over | s1 1 boss-over | s0 1 boss-over | s1 1 boss-over | s0 1 boss-over | end"},
    {1, DialogueMoment::AfterBattle, 0, "s3 1 start | s2 2 | s3 3 | s2 2 | end"},
    {2, DialogueMoment::BeforeBattle, 0, "s0 1 | s1 1 | s0 2 | s1 1 | end"},
    {2, DialogueMoment::AfterBattle, 0, "s2 1 start | s3 2 | s2 1 | s3 1 | s2 2 | end"},
    {3, DialogueMoment::BeforeBattle, 0, "s0 1 | s1 3 | s0 1 | s1 2 | s0 1 | s1 1 | end"},
    {3, DialogueMoment::AfterBattle, 0, "s3 1 start | s2 2 | s3 2 | s2 2 | s3 2 | s2 2 | end"},
    {4, DialogueMoment::BeforeBattle, 0, "s0 1 | s1 2 | s0 2 | s1 2 | s0 1 | end"},
    {4, DialogueMoment::AfterBattle, 0, "s2 1 start | s3 2 | s2 2 | s3 1 | s2 2 | end"},
    {5, DialogueMoment::BeforeBattle, 0, "s0 1 | s1 1 | s0 2 | s1 1 | s0 2 | end"},
    {5, DialogueMoment::AfterBattle, 0, "s2 2 start | s3 2 | s3 3 | s2 2 | s3 1 | s2 2 | end"},
    {6, DialogueMoment::BeforeBattle, 0, "s0 1 start | s1 2 | s0 1 | s1 2 | s0 3 | s1 1 | end"},
    {6, DialogueMoment::AfterBattle, 0, "s1 1 | s0 1 | bomb-flash | s2 1 | s3 3 | s3 1 | s3 1 | end"},
};

TEST(DialogueScripts, EachSceneShowsItsPicturesAndLineCountsInOrder) {
  for (const ScriptCase& expected : kScriptCases) {
    const DialogueScript& script = StageDialogue(expected.stage, expected.moment);
    SCOPED_TRACE("stage " + std::to_string(expected.stage) +
                 (expected.moment == DialogueMoment::BeforeBattle ? " before" : " after"));
    EXPECT_EQ(script.firstIndex, expected.firstIndex);
    EXPECT_EQ(Describe(script.steps, script.stepCount), expected.steps);
  }
}

TEST(EndingScript, ConversationAndStaffPagesHaveTheirShapes) {
  EXPECT_EQ(Describe(endingConversation, ENDING_CONVERSATION_STEPS), "P 2 | K 2 | P 1 | K 1 row2");
  // System and scenario, graphics, sound (music and effects), thanks.
  const int expectedEntries[STAFF_PAGE_COUNT] = {1, 1, 2, 2};
  for (int page = 0; page < STAFF_PAGE_COUNT; ++page) {
    int entries = 0;
    while (entries < STAFF_PAGE_MAX_ENTRIES && staffPages[page].entries[entries] != nullptr) ++entries;
    EXPECT_NE(staffPages[page].heading, nullptr);
    EXPECT_EQ(entries, expectedEntries[page]) << "page " << page;
  }
}

// Dialogue lines start at x 225 in a box that ends at x 843; 25-pixel
// characters of two bytes each leave room for 24. Staff texts of 50 pixels
// from x 80 or 120 stay inside the page's panel with 12.
constexpr std::size_t kDialogueLineBytes = 48;
constexpr std::size_t kStaffTextBytes = 24;

void ExpectLinesFit(const DialogueStep& step) {
  for (int k = 0; k < DialogueLineCount(step); ++k) {
    EXPECT_GT(std::strlen(step.lines[k]), 0u);
    EXPECT_LE(std::strlen(step.lines[k]), kDialogueLineBytes) << step.lines[k];
  }
  // Rows 0 to 3 stand inside the text box.
  EXPECT_LE(step.firstRow + DialogueLineCount(step), DIALOGUE_MAX_LINES);
}

TEST(DialogueScripts, EveryTextFitsWhereItIsDrawn) {
  for (int stage = 1; stage <= 6; ++stage) {
    for (DialogueMoment moment : {DialogueMoment::BeforeBattle, DialogueMoment::AfterBattle}) {
      const DialogueScript& script = StageDialogue(stage, moment);
      for (int i = 0; i < script.stepCount; ++i) ExpectLinesFit(script.steps[i]);
    }
  }
  for (const DialogueStep& step : endingConversation) ExpectLinesFit(step);
  for (const StaffPage& page : staffPages) {
    EXPECT_LE(std::strlen(page.heading), kStaffTextBytes) << page.heading;
    for (const char* entry : page.entries) {
      if (entry == nullptr) continue;
      EXPECT_LE(std::strlen(entry), kStaffTextBytes) << entry;
    }
  }
}

}  // namespace
