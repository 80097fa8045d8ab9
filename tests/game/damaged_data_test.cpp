// A missing or damaged data file never stops the game: the framework's log
// names the file, the game runs on without it, and ends cleanly when its
// window is closed.
#include <gtest/gtest.h>

#include <string>

#include "game/game_data_tree.h"
#include "game/game_log_checks.h"
#include "game/game_process.h"
#include "game/replay_scripts.h"

namespace {

using gametest::DataSource;
using gametest::GameDataTree;

enum class Damage { kMissing, kCutShort };

struct DamageCase {
  const char* name;
  const char* file;  // as the game names it
  Damage damage;
  const char* logLine;
};

const DamageCase kCases[] = {
    {"MissingCursorPicture", "Pict/Other/や.png", Damage::kMissing, "グラフィックファイル Pict/Other/や.png がありません"},
    {"CutTitlePicture", "Pict/Backgraund/title.png", Damage::kCutShort, "Pict/Backgraund/title.png"},
    {"MissingCursorSound", "Sound/SE/cursor04.wav", Damage::kMissing,
     "右記の音声ファイルのロードに失敗しました_1：Sound/SE/cursor04.wav"},
    {"CutTitleMusic", "Sound/BGM/game_vorlenta_4_field11.ogg", Damage::kCutShort,
     "右記の音声ファイルのロードに失敗しました_2：Sound/BGM/game_vorlenta_4_field11.ogg"},
    {"MissingStage2Boss", "Pict/Chara/きんせい.png", Damage::kMissing, "グラフィックファイル Pict/Chara/きんせい.png がありません"},
};

class DamagedData : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedData, GameRunsOnAndLogsTheFile) {
  const DamageCase& c = GetParam();
  GameDataTree tree(DataSource::kPlainFiles);
  const std::string onDisk = gametest::PathOnDisk(c.file);
  if (c.damage == Damage::kMissing) {
    tree.Remove(onDisk);
  } else {
    tree.CutShort(onDisk, 100);
  }
  EXPECT_EQ(gametest::RunGame(tree, {.inputScript = gametest::kIntoStage2ThenClose}), 0);
  const std::string log = tree.ReadLog();
  EXPECT_NE(log.find(c.logLine), std::string::npos) << log;
  gametest::ExpectCleanEnd(log);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedData, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

}  // namespace
