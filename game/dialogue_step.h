// The steps every dialogue scene and the ending's conversation are made of,
// and the mechanism that runs them: a picture over the playfield with up to
// four lines below it, advanced with Enter.
#pragma once

#include <cstdint>
#include <initializer_list>

// A step must have been shown this many frames before Enter advances it.
inline constexpr int DIALOGUE_MIN_FRAMES = 60;
inline constexpr int DIALOGUE_MAX_LINES = 4;
// The top-left corner of the first line; each further row is lower by the
// font's size.
inline constexpr int DIALOGUE_TEXT_X = 225;
inline constexpr int DIALOGUE_TEXT_Y = 626;
inline constexpr int DIALOGUE_ROW_HEIGHT = 25;
// The white flash's pause.
inline constexpr int DIALOGUE_FLASH_MS = 100;

enum class DialogueStepKind : std::uint8_t {
  Text,           // shown until Enter
  StartGeometry,  // a text step that keeps the boss and the player at their start places
  Flash,          // a white flash and a pause, then the picture, and on at once
  BombFlash,      // the flash with the bomb sound, and on at once
  End,            // the scene is over
};

// What a step shows over the playfield: one of the stage's four dialogue
// pictures, the player's picture, the backdrop, or nothing.
enum class DialoguePicture : std::uint8_t { Slot0, Slot1, Slot2, Slot3, Player, Backdrop, None };

// Where a text step draws the boss, if at all.
enum class BossPlacement : std::uint8_t {
  NotDrawn,
  AroundPicture,  // before the picture and again over it
  OverPicture,    // over the picture, under the lines
  AfterLines,     // over everything
};

struct DialogueStep {
  DialogueStepKind kind;
  DialoguePicture picture;
  const char* lines[DIALOGUE_MAX_LINES];  // null after the last line
  BossPlacement boss;
  int firstRow;  // the row of the first line
};

// A dialogue scene: its steps, the first of which has the index firstIndex.
struct DialogueScript {
  int firstIndex;
  const DialogueStep* steps;
  int stepCount;
};

// How many lines the step shows.
int DialogueLineCount(const DialogueStep& step);

// Runs one frame of the scene: counts the frame, then runs the step that
// dialogueIndex names (an index outside the script does nothing).
void RunDialogue(const DialogueScript& script);
// Runs one frame of the step, without counting the frame.
void RunDialogueStep(const DialogueStep& step);

// Shorthands for the script tables.
constexpr DialogueStep MakeStep(DialogueStepKind kind, DialoguePicture picture,
                                std::initializer_list<const char*> lines, BossPlacement boss = BossPlacement::NotDrawn,
                                int firstRow = 0) {
  DialogueStep step{kind, picture, {}, boss, firstRow};
  int row = 0;
  for (const char* line : lines) step.lines[row++] = line;
  return step;
}
constexpr DialogueStep Say(DialoguePicture picture, std::initializer_list<const char*> lines,
                           BossPlacement boss = BossPlacement::NotDrawn) {
  return MakeStep(DialogueStepKind::Text, picture, lines, boss);
}
constexpr DialogueStep SayFromStart(DialoguePicture picture, std::initializer_list<const char*> lines) {
  return MakeStep(DialogueStepKind::StartGeometry, picture, lines);
}
constexpr DialogueStep EndOfScene() { return MakeStep(DialogueStepKind::End, DialoguePicture::None, {}); }
