// The game run inside the test process through its own entry point, in a
// data tree, on the virtual clock, with an input script, captured frames
// and the frame loop's hook: for replays that read or force the game's
// state between frames.
#pragma once

#include <filesystem>
#include <string>

#include "frame_loop.h"
#include "game/game_data_tree.h"

namespace gametest {

// Runs WinMain in the tree (the process's current folder from then on):
// its result. Captured frames land in tree/captures.
int RunGameInProcess(const GameDataTree& tree, const std::string& inputScript, const std::string& captureFrames,
                     FrameHook hook);

// For a hook of a replay that is not about the conversations: puts a
// dialogue scene at its end step and the ending past its conversation, so
// that each passes in a frame.
void SkipConversation();

// For a hook of a replay that is not about the battles: a battle scene ends
// before its first frame as a defeat of the boss leaves it (the boss gone,
// the after-battle dialogue at its first step, the next scene), without the
// explosion and the pause.
void WinBattle();

// Both of the above: the hook of replays that go through whole games, each
// stage clear waiting for a key of the script (see SpaceEvery).
void SkipConversationsAndBattles();

// Where a captured frame of the tree is written.
std::filesystem::path CapturedFrame(const GameDataTree& tree, int frame);

}  // namespace gametest
