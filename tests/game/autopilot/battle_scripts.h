// The input scripts of the battle and whole-game replays: the courses the
// scripted player plays to make them, and where the reviewed ones are kept.
#pragma once

#include <string>

#include "game/autopilot/scripted_play.h"
#include "game/game_data_tree.h"

namespace gametest {

struct RecordedCourse {
  const char* name;  // the script's file name, without ".txt"
  const char* what;  // what the run plays, for the script's first line
  ScriptedCourse course;
};

// The courses by name: "stage1_won", "stage1_lost", "stage2_lost",
// "stage3_lost", "whole_game", "stage6_lost"; null for another name.
const RecordedCourse* FindRecordedCourse(const std::string& name);

// Plays the course in this process; the script it leaves starts with what
// the run plays and how it ends.
ScriptedPlayResult RecordCourse(const GameDataTree& tree, const RecordedCourse& course,
                                const std::string& capture = {});

// The checked-in script, as record_battle_scripts wrote it.
std::string StoredScript(const RecordedCourse& course);

}  // namespace gametest
