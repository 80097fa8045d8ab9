// Ten whole games in a row in this process: each battle plays some frames
// with the player shooting now and then and is then won through the frame hook, every
// conversation is skipped, and each game runs from the title through the
// six stages and the ending back to the title. Whenever the title comes
// back, the framework's live tracked blocks, its graph and sound handles and
// the process's resident memory are read; after the first game has filled
// the caches (pictures, glyphs, sound buffers) nothing may grow from one
// game to the next.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/base/tracked_allocator.h"
#include "game/game_data_tree.h"
#include "game/in_process_game.h"
#include "game_state.h"
#include "graphics/graph_record.h"
#include "sound/sound_record.h"
#include "title_menu.h"

namespace {

constexpr int kGames = 10;
// Enough for each boss to start its music and fire, and for the player's
// shots to hit it.
constexpr int kBattleFrames = 30;
// Resident memory may move by this much between games after the first:
// the C library and the OpenGL driver keep and return memory as they see
// fit, while a leak of the game's pictures or sounds is megabytes a game.
// AddressSanitizer holds freed blocks in a quarantine before reusing them,
// which swings resident memory by tens of megabytes from game to game.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kRssToleranceKb = 64 * 1024;
#else
constexpr long kRssToleranceKb = 1024;
#endif

struct Figures {
  int blocks;
  int graphs;
  int sounds;
  long residentKb;
};

long ResidentKb() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE) / 1024;
}

Figures ReadFigures() { return {GetTrackedBlockCount(), GraphHandleCount(), SoundHandleCount(), ResidentKb()}; }

// Row 0 is the title before the first game, row k the title after game k.
std::vector<Figures> g_rows;
int g_previousScene = -1;
int g_battleFrames = 0;

// The row of the title just reached, printed as it comes.
void RecordRow() {
  if (g_rows.empty()) std::printf("%-8s %8s %8s %8s %12s\n", "after", "blocks", "graphs", "sounds", "resident KB");
  const Figures f = ReadFigures();
  g_rows.push_back(f);
  const std::string label = g_rows.size() == 1 ? "start" : "game " + std::to_string(g_rows.size() - 1);
  std::printf("%-8s %8d %8d %8d %12ld\n", label.c_str(), f.blocks, f.graphs, f.sounds, f.residentKb);
  std::fflush(stdout);
}

bool BattleScene(int scene) { return scene >= 4 && scene <= 24 && scene % 4 == 0; }

void Hook() {
  if (sceneNumber == 1 && g_previousScene != 1) {
    RecordRow();
    // After the last game the title's Enter chooses to quit.
    if (static_cast<int>(g_rows.size()) > kGames) {
      titleMenuIndex = 1;
      titleMenu[0].y = TITLE_CURSOR_QUIT_Y;
    }
  }
  g_previousScene = sceneNumber;
  if (BattleScene(sceneNumber)) {
    // Whole games: the player never falls, whatever hits it.
    player.hp = 30.0;
    if (++g_battleFrames > kBattleFrames) {
      g_battleFrames = 0;
      gametest::WinBattle();
    }
  }
  gametest::SkipConversation();
}

// Every forty frames: the shoot key with Enter (the title's choice), the
// shoot key alone, SPACE, then nothing. A wait for any key wants every key
// up first, and then any key ends each stage clear and the end picture.
std::string ShootAndPressKeys(int lastFrame) {
  std::string script;
  for (int frame = 100; frame <= lastFrame; frame += 40) {
    script += std::to_string(frame) + " A RETURN\n" + std::to_string(frame + 10) + " A\n" +
              std::to_string(frame + 20) + " SPACE\n" + std::to_string(frame + 30) + "\n";
  }
  return script;
}

TEST(TenGamesSoak, NothingGrowsFromGameToGame) {
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  EXPECT_EQ(gametest::RunGameInProcess(tree, ShootAndPressKeys(60000), "", Hook), 0);
  ASSERT_EQ(g_rows.size(), static_cast<std::size_t>(kGames + 1)) << "every game back at the title";
  const Figures& warm = g_rows[1];
  for (int game = 2; game <= kGames; ++game) {
    const Figures& f = g_rows[game];
    EXPECT_EQ(f.blocks, warm.blocks) << "game " << game;
    EXPECT_EQ(f.graphs, warm.graphs) << "game " << game;
    EXPECT_EQ(f.sounds, warm.sounds) << "game " << game;
    EXPECT_LE(f.residentKb, warm.residentKb + kRssToleranceKb) << "game " << game;
  }
}

}  // namespace
