// The game-over music: every piece of music stops before the jingle
// starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <WqLib.h>

#include "game_over.h"
#include "game_state.h"
#include "platform/control.h"
#include "support/temp_dir.h"

namespace {

// A tenth of a second of mono 16-bit silence as a RIFF WAVE file image.
std::string ShortWave() {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::uint32_t kDataBytes = kRate / 10 * 2;
  std::string wave;
  auto put32 = [&](std::uint32_t value) { wave.append(reinterpret_cast<const char*>(&value), 4); };
  auto put16 = [&](std::uint16_t value) { wave.append(reinterpret_cast<const char*>(&value), 2); };
  wave += "RIFF";
  put32(36 + kDataBytes);
  wave += "WAVEfmt ";
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(kRate);
  put32(kRate * 2);
  put16(2);
  put16(16);
  wave += "data";
  put32(kDataBytes);
  wave.append(kDataBytes, '\0');
  return wave;
}

class GameOverMusic : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    WqControlSetLockFolder(folder_.path().c_str());
    WqControlSetSoundDevice(WqSoundDevice::kManual);
    SetLogFolder(folder_.WindowsPath().c_str());
    ChangeWindowMode(1);
    ASSERT_EQ(StartLibrary(), 0);
    const std::string wave = ShortWave();
    auto load = [&] { return LoadSoundFromMemory(wave.data(), static_cast<int>(wave.size()), 3, -1); };
    for (int& music : stageMusic) music = load();
    titleMusic = load();
    gameOverMusic = load();
    ASSERT_NE(gameOverMusic, -1);
  }
  void TearDown() override {
    EndLibrary();
    WqControlSetLockFolder(nullptr);
    WqControlSetSoundDevice(WqSoundDevice::kSystem);
  }

 private:
  wqtest::TempDir folder_;
};

TEST_F(GameOverMusic, StopsAllMusicThenLoopsTheJingle) {
  ASSERT_EQ(PlaySoundHandle(stageMusic[3], 3, 1), 0);
  ASSERT_EQ(PlaySoundHandle(titleMusic, 3, 1), 0);
  StartGameOverMusic();
  for (int music : stageMusic) EXPECT_EQ(CheckSoundHandlePlaying(music), 0);
  EXPECT_EQ(CheckSoundHandlePlaying(titleMusic), 0);
  EXPECT_EQ(CheckSoundHandlePlaying(gameOverMusic), 1);
  EXPECT_EQ(gameOverMusicStarted, 1);

  // The next game's game over starts it again from the top.
  StopSoundHandle(gameOverMusic);
  gameOverMusicStarted = 0;
  StartGameOverMusic();
  EXPECT_EQ(CheckSoundHandlePlaying(gameOverMusic), 1);
}

}  // namespace
