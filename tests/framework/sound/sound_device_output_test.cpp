// End to end through SDL's disk audio driver: files made by outside
// encoders load, play on the real audio device path, and their tones are
// found in the captured output at the right frequency and level.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "WqLib.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"

namespace {

using wqtest::kMixRate;

class SoundDeviceOutputTest : public wqtest::SoundTest {
 protected:
  void SetUp() override {
    start_ = false;
    SoundTest::SetUp();
    capture_ = (dir_.path() / "capture.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture_.c_str(), 1);
    WqControlSetSoundDevice(WqSoundDevice::kSystem);
  }
  void TearDown() override {
    SoundTest::TearDown();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }

  std::vector<std::int16_t> Captured() const {
    std::ifstream file(capture_, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  }

  std::string capture_;
};

// Waits, as the device plays in real time, until the sound has played
// that many milliseconds.
bool WaitUntilPlayed(int sound, int ms) {
  const DWORD deadline = GetTickCount() + 10000;
  while (GetSoundCurrentTime(sound) < ms) {
    if (static_cast<LONG>(deadline - GetTickCount()) <= 0) return false;
    Sleep(5);
  }
  return true;
}

TEST_F(SoundDeviceOutputTest, EncodedFilesAreHeardAtTheirFrequencyAndLevel) {
  for (const char* tool : {"sox", "oggenc", "lame"}) {
    if (!wqtest::ToolExists(tool)) GTEST_SKIP() << tool << " missing";
  }
  const std::string base = dir_.path().string();
  const std::string sine = " synth 2 sine ";
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/a.wav" + sine + "440 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/b.wav" + sine + "880 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("oggenc -Q -q 6 -o " + base + "/b.ogg " + base + "/b.wav"));
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/c.wav" + sine + "660 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("lame --quiet -b 192 " + base + "/c.wav " + base + "/c.mp3"));

  ASSERT_EQ(InitializeDirectSound(), 0);
  const double frequencies[] = {440, 880, 660};
  int sounds[3];
  const char* files[] = {"a.wav", "b.ogg", "c.mp3"};
  for (int i = 0; i < 3; ++i) {
    sounds[i] = LoadSound(PathOf(files[i]).c_str(), 1, -1);
    ASSERT_NE(sounds[i], -1) << files[i];
  }
  for (int sound : sounds) {
    ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
    ASSERT_TRUE(WaitUntilPlayed(sound, 500));
    ASSERT_EQ(StopSoundHandle(sound), 0);
  }
  ASSERT_EQ(TerminateDirectSound(), 0);  // closes the device and its file

  // The capture in windows of 50 ms: each tone appears, in order, for at
  // least a few windows of its own.
  const std::vector<std::int16_t> captured = Captured();
  constexpr std::size_t kWindow = kMixRate / 20;
  std::size_t next = 0;
  int windowsOfTone = 0;
  for (std::size_t at = 0; at + kWindow <= captured.size() / 2 && next < 3; at += kWindow) {
    const std::vector<std::int16_t> window(captured.begin() + 2 * at, captured.begin() + 2 * (at + kWindow));
    const wqtest::ToneMeasure tone = wqtest::MeasureTone(window, kMixRate);
    if (std::abs(tone.frequency - frequencies[next]) < 25 && std::abs(tone.peak - 16384) < 1500) {
      if (++windowsOfTone == 4) {
        ++next;
        windowsOfTone = 0;
      }
    }
  }
  EXPECT_EQ(next, 3u) << "tones found in order: " << next << " of " << captured.size() / 2 << " frames";
}

}  // namespace
