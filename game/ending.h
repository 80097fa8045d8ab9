// The ending (scene 27): a closing conversation, four staff pages and the
// loading of the end picture that scene 28 shows.
#pragma once

#include "dialogue_step.h"

inline constexpr int ENDING_CONVERSATION_STEPS = 4;
inline constexpr int STAFF_PAGE_COUNT = 4;
inline constexpr int STAFF_PAGE_MAX_ENTRIES = 2;
// How long each staff page stays up.
inline constexpr int STAFF_PAGE_MS = 3000;
// The ending's steps by dialogueIndex: the conversation, the loading of the
// staff background, the pages, and the end.
inline constexpr int ENDING_LOAD_STAFF_STEP = 4;
inline constexpr int ENDING_FIRST_PAGE_STEP = 5;
inline constexpr int ENDING_LAST_STEP = 9;
inline constexpr int END_PICTURE_SCENE = 28;

struct StaffPage {
  const char* heading;
  const char* entries[STAFF_PAGE_MAX_ENTRIES];  // null when the page has one
};

extern const DialogueStep endingConversation[ENDING_CONVERSATION_STEPS];
extern const StaffPage staffPages[STAFF_PAGE_COUNT];

// One frame of the ending, by dialogueIndex (0 to 9; any other does
// nothing).
void RunEnding();
