// A missing or damaged data file never stops the game: the framework's log
// names the file, the game runs on without it through two games (in this
// process, the conversations skipped), and quits cleanly. Each file is tried once per run, so it is named once, though the
// second game loads its stage pictures again.
#include <gtest/gtest.h>

#include <string>

#include "game/game_data_tree.h"
#include "game/game_log_checks.h"
#include "game/in_process_game.h"
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
    {"CutTitlePicture", "Pict/Backgraund/title.png", Damage::kCutShort,
     "右記のグラフィックファイルのロードに失敗しました：Pict/Backgraund/title.png"},
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
  EXPECT_EQ(gametest::RunGameInProcess(tree, gametest::kTwoQuickGamesThenQuit, "",
                                       gametest::SkipConversationsAndBattles), 0);
  const std::string log = tree.ReadLog();
  const auto named = log.find(c.logLine);
  EXPECT_NE(named, std::string::npos) << log;
  EXPECT_EQ(log.find(c.logLine, named + 1), std::string::npos) << "named twice";
  gametest::ExpectCleanEnd(log);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedData, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

}  // namespace
