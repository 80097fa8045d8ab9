#include "game/autopilot/battle_scripts.h"

#include <fstream>
#include <sstream>

namespace gametest {

ScriptedPlayResult RecordStage1Battle(const GameDataTree& tree, bool won, const std::string& capture) {
  ScriptedPlayResult result =
      PlayScripted(tree, won ? BattlePlay::kWin : BattlePlay::kLose, {Stage1BattleEndScene(won)}, capture);
  result.script = std::string("# Stage 1's battle ") + (won ? "won" : "lost") +
                  " by the scripted player; record_battle_scripts makes this file.\n" + result.script;
  return result;
}

std::string StoredStage1Script(bool won) {
  std::ifstream file(std::string(BATTLE_SCRIPT_DIR) + (won ? "/stage1_won.txt" : "/stage1_lost.txt"));
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace gametest
