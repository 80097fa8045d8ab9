// Sounds held in buffers, played on the manual mixing clock as the game
// uses them: overlapping plays, loops, play-and-wait and stops, checked
// sample by sample.
#include <atomic>
#include <thread>

#include "WqLib.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"

namespace {

using wqtest::kMixRate;

constexpr std::int64_t kFrames = 2000;

class SoundPlayTest : public wqtest::SoundTest {
 protected:
  // A mono pattern sound of kFrames frames, loaded as the game loads.
  int LoadPattern(int count = 3) {
    const std::string path =
        WriteSoundFile("pattern.wav", wqtest::PcmWave(1, kMixRate, wqtest::PatternSamples(kFrames)));
    return LoadSound(path.c_str(), count, -1);
  }
};

// The expected left channel when plays start at the given mixed frames.
std::vector<std::int16_t> Overlap(const std::vector<std::int64_t>& starts, std::int64_t frames) {
  std::vector<std::int16_t> expected(static_cast<std::size_t>(frames));
  for (std::int64_t i = 0; i < frames; ++i) {
    std::int32_t sum = 0;
    for (std::int64_t start : starts) {
      if (i >= start && i - start < kFrames) sum += wqtest::PatternSample(i - start);
    }
    expected[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
  }
  return expected;
}

std::vector<std::int16_t> Left(const std::vector<std::int16_t>& stereo) {
  std::vector<std::int16_t> left(stereo.size() / 2);
  for (std::size_t i = 0; i < left.size(); ++i) left[i] = stereo[2 * i];
  return left;
}

// Three quick plays of a three-buffer sound overlap; the fourth restarts
// the first buffer from the top.
TEST_F(SoundPlayTest, ThreeBufferSoundOverlapsThreePlaysAndTheFourthRestartsTheFirst) {
  const int sound = LoadPattern();
  ASSERT_NE(sound, -1);
  EXPECT_EQ(GetSoundTotalSamples(sound), kFrames);
  std::vector<std::int16_t> heard;
  const std::int64_t starts[] = {0, 300, 700};
  std::int64_t mixed = 0;
  for (std::int64_t start : starts) {
    const std::vector<std::int16_t> part = Left(Mix(static_cast<std::uint32_t>(start - mixed)));
    heard.insert(heard.end(), part.begin(), part.end());
    mixed = start;
    ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  }
  std::vector<std::int16_t> part = Left(Mix(300));
  heard.insert(heard.end(), part.begin(), part.end());
  EXPECT_EQ(heard, Overlap({0, 300, 700}, 1000));

  // The first buffer (at frame 1000 of its play) starts again at 0.
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  part = Left(Mix(200));
  const std::vector<std::int16_t> all = Overlap({1000, 300, 700}, 1200);
  EXPECT_EQ(part, std::vector<std::int16_t>(all.begin() + 1000, all.end()));
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 1);
  EXPECT_EQ(StopSoundHandle(sound), 0);
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
  EXPECT_EQ(Left(Mix(10)), std::vector<std::int16_t>(10, 0));
}

TEST_F(SoundPlayTest, LoopWrapsAtItsEndAndFromTopRestartsIt) {
  const int sound = LoadPattern(1);
  ASSERT_EQ(PlaySoundHandle(sound, 3, 1), 0);
  const std::vector<std::int16_t> heard = Left(Mix(2 * kFrames + 100));
  for (std::int64_t i = 0; i < 2 * kFrames + 100; ++i)
    ASSERT_EQ(heard[static_cast<std::size_t>(i)], wqtest::PatternSample(i % kFrames)) << i;
  EXPECT_EQ(GetSoundCurrentTime(sound), 100 * 1000 / static_cast<int>(kMixRate));
  // From top 0 on a playing one-buffer sound changes nothing.
  ASSERT_EQ(PlaySoundHandle(sound, 3, 0), 0);
  EXPECT_EQ(Left(Mix(1))[0], wqtest::PatternSample(100));
  ASSERT_EQ(PlaySoundHandle(sound, 3, 1), 0);
  EXPECT_EQ(Left(Mix(3)), (std::vector<std::int16_t>{wqtest::PatternSample(0), wqtest::PatternSample(1),
                                                     wqtest::PatternSample(2)}));
}

// A stopped sound played with from top 0 continues where it stood.
TEST_F(SoundPlayTest, StoppedSoundContinuesWhereItStood) {
  const int sound = LoadPattern(1);
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  Mix(500);
  ASSERT_EQ(StopSoundHandle(sound), 0);
  Mix(50);
  ASSERT_EQ(PlaySoundHandle(sound, 1, 0), 0);
  EXPECT_EQ(Left(Mix(1))[0], wqtest::PatternSample(500));
  // A one-shot falls silent at its end.
  Mix(static_cast<std::uint32_t>(kFrames - 501));
  EXPECT_EQ(Left(Mix(2)), std::vector<std::int16_t>(2, 0));
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
}

// Play type 0 returns only once the sound has ended, mixed meanwhile by
// another thread as a device would.
TEST_F(SoundPlayTest, PlayAndWaitReturnsWhenTheSoundHasEnded) {
  const int sound = LoadPattern(1);
  std::atomic<bool> returned{false};
  std::atomic<std::int64_t> framesMixed{0};
  std::thread device([&] {
    while (!returned) {
      Mix(100);
      framesMixed += 100;
    }
  });
  EXPECT_EQ(PlaySoundHandle(sound, 0, 1), 0);
  const std::int64_t whenReturned = framesMixed;
  returned = true;
  device.join();
  EXPECT_GE(whenReturned, kFrames);
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
}

TEST_F(SoundPlayTest, BufferCountsAreLimitedToTen) {
  const std::string wave = wqtest::PcmWave(1, kMixRate, wqtest::PatternSamples(100));
  const std::string path = WriteSoundFile("short.wav", wave);
  const int ten = LoadSound(path.c_str(), 10, -1);
  ASSERT_NE(ten, -1);
  EXPECT_EQ(FindSoundRecord(ten)->bufferCount, 10);
  const int cut = LoadSound(path.c_str(), 25, -1);
  ASSERT_NE(cut, -1);
  EXPECT_EQ(FindSoundRecord(cut)->bufferCount, 10);
  EXPECT_EQ(LoadSoundFromMemory(wave.data(), static_cast<int>(wave.size()), 25, -1), -1);
  const int fromMemory = LoadSoundFromMemory(wave.data(), static_cast<int>(wave.size()), 2, -1);
  ASSERT_NE(fromMemory, -1);
  EXPECT_EQ(FindSoundRecord(fromMemory)->bufferCount, 2);
}

// Exactly 180 whole seconds stay in buffers; 181 seconds stream.
TEST_F(SoundPlayTest, SoundsOverThreeMinutesStream) {
  constexpr DWORD kRate = 1000;
  for (int seconds : {180, 181}) {
    const std::string wave = wqtest::PcmWave(1, kRate, std::vector<std::int16_t>(kRate * seconds, 0));
    const int sound = LoadSoundFromMemory(wave.data(), static_cast<int>(wave.size()), 1, -1);
    ASSERT_NE(sound, -1) << seconds;
    EXPECT_EQ(FindSoundRecord(sound)->stream, seconds == 180 ? 0 : 1) << seconds;
    EXPECT_EQ(GetSoundTotalTime(sound), seconds * 1000);
    EXPECT_EQ(DeleteSoundHandle(sound, 0), 0);
  }
}

TEST_F(SoundPlayTest, HandlesThatAreNotLiveSoundsAreRefused) {
  const int sound = LoadPattern(1);
  const int deleted = LoadPattern(1);
  ASSERT_EQ(DeleteSoundHandle(deleted, 0), 0);
  const int stale = (sound & ~0x07FF0000) | (((sound >> 16) + 1) & 0x7FF) << 16;
  const int refused[] = {-1,      0,     sound & 0xFFFF, (sound & 0x0FFFFFFF) | 0x08000000,
                         deleted, stale, sound | 0x7FFF};
  for (int handle : refused) {
    EXPECT_EQ(PlaySoundHandle(handle, 1, 1), -1) << std::hex << handle;
    EXPECT_EQ(StopSoundHandle(handle), -1) << std::hex << handle;
    EXPECT_EQ(CheckSoundHandlePlaying(handle), -1) << std::hex << handle;
    EXPECT_EQ(GetSoundCurrentTime(handle), -1) << std::hex << handle;
    EXPECT_EQ(GetSoundTotalTime(handle), -1) << std::hex << handle;
    EXPECT_EQ(DeleteSoundHandle(handle, 0), -1) << std::hex << handle;
  }
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
  EXPECT_EQ(CheckMusicHandlePlaying(0x40000000), -1);
  EXPECT_EQ(StopMusicHandle(0x40000000), -1);
  EXPECT_EQ(DeleteSoftSoundHandle(0x68000000, 0), -1);
}

TEST_F(SoundPlayTest, EverythingRefusesOnceSoundHasEnded) {
  const int sound = LoadPattern(1);
  const std::string path = PathOf("pattern.wav");
  ASSERT_EQ(TerminateDirectSound(), 0);
  EXPECT_EQ(LoadSound(path.c_str(), 1, -1), -1);
  EXPECT_EQ(PlaySoundHandle(sound, 1, 1), -1);
  EXPECT_EQ(CheckSoundHandlePlaying(sound), -1);
  EXPECT_EQ(TerminateDirectSound(), -1);
  EXPECT_EQ(ProcessAllStreamSounds(), -1);
  // Sound starts again after an end.
  ASSERT_EQ(InitializeDirectSound(), 0);
  EXPECT_NE(LoadSound(path.c_str(), 1, -1), -1);
}

TEST_F(SoundPlayTest, CreateModeSetterStoresOneAsZeroAndRefusesAboveThree) {
  EXPECT_EQ(SetSoundCreateMode(2), 0);
  EXPECT_EQ(GetSoundCreateMode(), 2);
  EXPECT_EQ(SetSoundCreateMode(1), 0);
  EXPECT_EQ(GetSoundCreateMode(), 0);
  EXPECT_EQ(SetSoundCreateMode(4), -1);
  EXPECT_EQ(GetSoundCreateMode(), 0);
  EXPECT_EQ(SetSoundDecoderMask(-5), 0);
  EXPECT_EQ(GetSoundDecoderMask(), -5);
}

// Start-up sets the primary format from the device and reports it.
TEST_F(SoundPlayTest, StartUpLogsTheDeviceAndItsCapabilities) {
  const std::string log = LogText();
  for (const char* line : {"DirectSound の初期化を行います", "成功", "DirectSound デバイスを列挙します",
                           "ドライバ記述:", "最大サンプリングレート:200.00KHz", " プライマリ １６bit = OK",
                           "DirectSound の初期化は正常に終了しました"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
}

}  // namespace
