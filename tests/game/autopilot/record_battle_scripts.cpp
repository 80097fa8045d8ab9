// Makes the input scripts of the stage 1 battle replays: the scripted
// player plays the game in this process and the script it leaves is
// written out, to be checked in after its replay has been reviewed.
//
//   record_battle_scripts won|lost FILE   (under a display: xvfb-run -a)
//
// "won" plays the battle to the boss's defeat, "lost" walks into the
// fire until game over. Run it again whenever a change of the game moves the battle.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "game/autopilot/battle_scripts.h"
#include "platform/control.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "won") != 0 && std::strcmp(argv[1], "lost") != 0)) {
    std::fprintf(stderr, "usage: %s won|lost FILE\n", argv[0]);
    return 2;
  }
  const bool won = std::strcmp(argv[1], "won") == 0;
  // The game runs in its data tree, which becomes the current folder.
  const std::filesystem::path output = std::filesystem::absolute(argv[2]);
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  // Its own second-instance lock: games running elsewhere do not count.
  WqControlSetLockFolder(tree.path().c_str());
  const gametest::ScriptedPlayResult result = gametest::RecordStage1Battle(tree, won);
  if (result.exitCode != 0 || result.endScene != gametest::Stage1BattleEndScene(won)) {
    std::fprintf(stderr, "the run ended in scene %d with exit code %d\n", result.endScene, result.exitCode);
    return 1;
  }
  std::ofstream(output) << result.script;
  return 0;
}
