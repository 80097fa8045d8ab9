// Stream sounds refilled by the message pump of a one-processor machine,
// with the whole library started: the game's frame loop keeps music going.
#include "WqLib.h"
#include "core/window/window_system_state.h"
#include "platform/control.h"
#include "sound/sound_record.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"
#include "support/temp_dir.h"

namespace {

using wqtest::kMixRate;

class StreamSoundPumpTest : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    WqControlSetLockFolder(dir_.path().c_str());
    WqControlSetSoundDevice(WqSoundDevice::kManual);
    SetLogFolder(dir_.WindowsPath().c_str());
    ChangeWindowMode(1);
    ASSERT_EQ(StartLibrary(), 0);
    // Sound again as on a machine with one processor: no streaming thread.
    ASSERT_EQ(TerminateDirectSound(), 0);
    WindowSystem().logicalProcessors = 1;
    ASSERT_EQ(InitializeDirectSound(), 0);
  }
  void TearDown() override {
    EndLibrary();
    WqControlSetLockFolder(nullptr);
    WqControlSetSoundDevice(WqSoundDevice::kSystem);
    WqControlEnableVirtualClock(false);
  }

  wqtest::TempDir dir_;
};

TEST_F(StreamSoundPumpTest, PumpMessagesRefillsStreamSoundsEachFrame) {
  constexpr std::int64_t kFrames = 2 * kMixRate;
  dir_.WriteFile("music.wav", wqtest::PcmWave(1, kMixRate, wqtest::PatternSamples(kFrames)));
  SetSoundCreateMode(2);
  const int music = LoadSound((dir_.WindowsPath() + "\\music.wav").c_str(), 1, -1);
  ASSERT_NE(music, -1);
  ASSERT_EQ(PlaySoundHandle(music, 3, 1), 0);
  // Frames of a 60 Hz game: 735 mixed frames, then one pump.
  std::vector<std::int16_t> heard;
  while (heard.size() < kFrames + kMixRate) {
    std::vector<std::int16_t> mixed(2 * 735);
    ASSERT_EQ(WqControlMixSound(mixed.data(), 735), 4u * 735);
    for (std::size_t i = 0; i < 735; ++i) heard.push_back(mixed[2 * i]);
    ASSERT_EQ(PumpMessages(), 0);
  }
  for (std::size_t i = 0; i < heard.size(); ++i)
    ASSERT_EQ(heard[i], wqtest::PatternSample(static_cast<std::int64_t>(i) % kFrames)) << i;
}

}  // namespace
