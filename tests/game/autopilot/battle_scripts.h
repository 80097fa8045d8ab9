// The input scripts of the stage 1 battle replays: how the scripted player
// makes them and where the reviewed ones are kept.
#pragma once

#include <string>

#include "game/autopilot/scripted_play.h"
#include "game/game_data_tree.h"

namespace gametest {

inline constexpr int kStage1ClearScene = 6;
inline constexpr int kGameOverScene = 29;

// Where a run of the script ends: stage 1's clear when won, else game over.
inline int Stage1BattleEndScene(bool won) { return won ? kStage1ClearScene : kGameOverScene; }

// Plays into stage 1's battle and wins it, or walks into its fire until
// game over; the window is closed at the end scene.
ScriptedPlayResult RecordStage1Battle(const GameDataTree& tree, bool won, const std::string& capture = {});

// The checked-in script, as record_battle_scripts wrote it.
std::string StoredStage1Script(bool won);

}  // namespace gametest
