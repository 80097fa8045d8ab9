#include "game/autopilot/battle_scripts.h"

#include <fstream>
#include <sstream>

namespace gametest {
namespace {

constexpr BattlePlay W = BattlePlay::kWin;
constexpr BattlePlay L = BattlePlay::kLose;

const RecordedCourse kCourses[] = {
    {"stage1_won", "Stage 1's battle won", {{W, W, W, W, W, W}, {StageClearScene(1)}}},
    {"stage1_lost", "Stage 1's battle lost", {{L, W, W, W, W, W}, {kGameOverScene}}},
    {"stage2_lost", "Stage 1 won, stage 2 lost", {{W, L, W, W, W, W}, {kGameOverScene}}},
    {"stage3_lost", "Stages 1 and 2 won, stage 3 lost", {{W, W, L, W, W, W}, {kGameOverScene}}},
    {"whole_game", "The whole game won, through the ending back to the title",
     {{W, W, W, W, W, W}, {kEndPictureScene, kTitleScene}}},
    {"stage6_lost", "Stages 1 to 5 won, stage 6 lost", {{W, W, W, W, W, L}, {kGameOverScene}}},
};

}  // namespace

const RecordedCourse* FindRecordedCourse(const std::string& name) {
  for (const RecordedCourse& course : kCourses) {
    if (name == course.name) return &course;
  }
  return nullptr;
}

ScriptedPlayResult RecordCourse(const GameDataTree& tree, const RecordedCourse& course, const std::string& capture) {
  ScriptedPlayResult result = PlayScripted(tree, course.course, capture);
  result.script = std::string("# ") + course.what + " by the scripted player; record_battle_scripts makes this file.\n" +
                  result.script;
  return result;
}

std::string StoredScript(const RecordedCourse& course) {
  std::ifstream file(std::string(BATTLE_SCRIPT_DIR) + "/" + course.name + ".txt");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace gametest
