#include "game/in_process_game.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "dialogue_scripts.h"
#include "ending.h"
#include "game_entry.h"
#include "game_state.h"

namespace gametest {

int RunGameInProcess(const GameDataTree& tree, const std::string& inputScript, const std::string& captureFrames,
                     FrameHook hook) {
  setenv("WQ_VIRTUAL_CLOCK", "1", 1);
  const std::filesystem::path script = tree.path() / "replay.txt";
  std::ofstream(script) << inputScript;
  setenv("WQ_INPUT_SCRIPT", script.c_str(), 1);
  if (!captureFrames.empty()) {
    std::filesystem::create_directories(tree.path() / "captures");
    setenv("WQ_CAPTURE_FRAMES", captureFrames.c_str(), 1);
    setenv("WQ_CAPTURE_DIR", (tree.path() / "captures").c_str(), 1);
  }
  if (chdir(tree.path().c_str()) != 0) return -1;
  SetFrameHook(hook);
  return WinMain(nullptr, nullptr, nullptr, 0);
}

void SkipConversation() {
  const bool dialogueScene = sceneNumber >= 3 && sceneNumber <= 25 && sceneNumber % 2 == 1;
  if (dialogueScene) {
    const int stage = (sceneNumber + 1) / 4;
    const DialogueScript& script =
        StageDialogue(stage, sceneNumber % 4 == 3 ? DialogueMoment::BeforeBattle : DialogueMoment::AfterBattle);
    dialogueIndex = script.firstIndex + script.stepCount - 1;
  }
  if (sceneNumber == 27 && dialogueIndex < ENDING_LOAD_STAFF_STEP) dialogueIndex = ENDING_LOAD_STAFF_STEP;
}

void WinBattle() {
  const bool battleScene = sceneNumber >= 4 && sceneNumber <= 24 && sceneNumber % 4 == 0;
  if (!battleScene) return;
  boss.alive = 0;
  dialogueIndex = 0;
  sceneNumber = sceneNumber + 1;
}

void SkipConversationsAndBattles() {
  SkipConversation();
  WinBattle();
}

std::filesystem::path CapturedFrame(const GameDataTree& tree, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06d.png", frame);
  return tree.path() / "captures" / name;
}

}  // namespace gametest
