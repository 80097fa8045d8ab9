// Stream sounds on the manual mixing clock: long music streams without a
// gap and loops at the right sample, sources follow each other, the end is
// found across the ring's wrap, refills never spin, shared ring buffers,
// and the streaming thread of a many-processor machine.
#include "WqLib.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"

namespace {

using wqtest::kMixRate;

class StreamSoundTest : public wqtest::SoundTest {
 protected:
  // A mono 16-bit stream sound of the given samples.
  int LoadStream(const std::string& name, const std::vector<std::int16_t>& samples, int share = -1) {
    const std::string path = WriteSoundFile(name, wqtest::PcmWave(1, kMixRate, samples));
    SetSoundCreateMode(2);
    const int sound = LoadSound(path.c_str(), 1, share);
    SetSoundCreateMode(0);
    return sound;
  }
};

std::vector<std::int16_t> Negated(std::vector<std::int16_t> samples) {
  for (std::int16_t& sample : samples) sample = static_cast<std::int16_t>(-sample);
  return samples;
}

TEST_F(StreamSoundTest, MusicLongerThanThreeMinutesStreamsWithoutAGapAndLoopsAtTheRightSample) {
  constexpr std::int64_t kFrames = 181 * std::int64_t{kMixRate} + 123;
  const std::string path =
      WriteSoundFile("music.wav", wqtest::PcmWave(1, kMixRate, wqtest::PatternSamples(kFrames)));
  const int music = LoadSound(path.c_str(), 3, -1);
  ASSERT_NE(music, -1);
  ASSERT_EQ(FindSoundRecord(music)->stream, 1);
  // Ring of one second and a first fill of three quarters.
  EXPECT_EQ(FindSoundRecord(music)->ringBytes, 88200u);
  EXPECT_EQ(FindSoundRecord(music)->writePosition, 66150);
  ASSERT_EQ(PlaySoundHandle(music, 3, 1), 0);
  constexpr std::int64_t kAfterLoop = 2 * kMixRate;
  const std::vector<std::int16_t> heard = MixWithRefills(static_cast<std::uint32_t>(kFrames + kAfterLoop));
  for (std::int64_t i = 0; i < kFrames + kAfterLoop; ++i)
    ASSERT_EQ(heard[static_cast<std::size_t>(i)], wqtest::PatternSample(i % kFrames)) << "frame " << i;
  EXPECT_EQ(CheckSoundHandlePlaying(music), 1);
  // The position restarted with the loop.
  EXPECT_NEAR(GetSoundCurrentTime(music), 2000, 40);
  EXPECT_LE(GetSoundCurrentTime(music), GetSoundTotalTime(music));
}

TEST_F(StreamSoundTest, SourcesPlayInTurnAndTheSoundStopsAfterTheLast) {
  const std::vector<std::int16_t> first = wqtest::PatternSamples(3000);
  const std::vector<std::int16_t> second = Negated(wqtest::PatternSamples(2000));
  const int sound = LoadStream("first.wav", first);
  ASSERT_NE(sound, -1);
  const std::string secondPath = WriteSoundFile("second.wav", wqtest::PcmWave(1, kMixRate, second));
  {
    SoundLockGuard lock;
    FindSoundRecord(sound)->active = 0;  // filled again with both sources
    ASSERT_EQ(AddStreamSoundFile(secondPath.c_str(), 0, sound, 2, -1), 0);
  }
  EXPECT_EQ(GetSoundTotalSamples(sound), 5000);
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  const std::vector<std::int16_t> heard = MixWithRefills(8000, 441);
  std::vector<std::int16_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  expected.resize(8000, 0);
  EXPECT_EQ(heard, expected);
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
}

// Data that ends 50 frames before the ring's end: the cursor passes the
// end mark and wraps before the next refill looks, and the sound still
// stops at that refill instead of a lap later.
TEST_F(StreamSoundTest, EndIsFoundAcrossTheRingsWrap) {
  constexpr std::int64_t kFrames = 2 * kMixRate - 50;
  const int sound = LoadStream("wrap.wav", wqtest::PatternSamples(kFrames));
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  constexpr std::uint32_t kStep = 1323;
  const std::vector<std::int16_t> heard = MixWithRefills(static_cast<std::uint32_t>(kFrames) + 100, kStep);
  for (std::int64_t i = 0; i < kFrames; ++i)
    ASSERT_EQ(heard[static_cast<std::size_t>(i)], wqtest::PatternSample(i)) << i;
  for (std::size_t i = kFrames; i < heard.size(); ++i) ASSERT_EQ(heard[i], 0) << i;
  MixWithRefills(2 * kStep, kStep);
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
}

// A source that repeats forever but is shorter than one refill, and a
// looping sound without data: the refill ends its fill instead of spinning
// with the sound lock held.
TEST_F(StreamSoundTest, RefillsOfTinyOrEmptyLoopingSourcesReturn) {
  const int tiny = AddSoundData(-1);
  const std::string tinyPath =
      WriteSoundFile("tiny.wav", wqtest::PcmWave(1, kMixRate, wqtest::PatternSamples(100)));
  ASSERT_EQ(AddStreamSoundFile(tinyPath.c_str(), 255, tiny, 2, -1), 0);
  ASSERT_EQ(PrefillStreamSound(tiny), 0);
  ASSERT_EQ(PlaySoundHandle(tiny, 1, 1), 0);
  const std::vector<std::int16_t> heard = MixWithRefills(300, 50);
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(heard[static_cast<std::size_t>(i)], wqtest::PatternSample(i % 100)) << i;

  const int empty = LoadStream("empty.wav", {});
  ASSERT_NE(empty, -1);
  EXPECT_EQ(GetSoundTotalSamples(empty), 0);
  ASSERT_EQ(PlaySoundHandle(empty, 3, 1), 0);
  MixWithRefills(3000, 300);
  EXPECT_EQ(CheckSoundHandlePlaying(empty), 1);
  EXPECT_EQ(StopSoundHandle(empty), 0);
}

TEST_F(StreamSoundTest, SharedRingBufferPlaysOneSoundAtATimeAndOutlivesItsSharer) {
  const std::vector<std::int16_t> samples = wqtest::PatternSamples(20000);
  const int owner = LoadStream("owner.wav", samples);
  const int sharer = LoadStream("sharer.wav", Negated(samples), owner);
  ASSERT_NE(sharer, -1);
  EXPECT_EQ(FindSoundRecord(sharer)->owner, owner);
  ASSERT_EQ(PlaySoundHandle(owner, 1, 1), 0);
  MixWithRefills(1000, 500);
  ASSERT_EQ(PlaySoundHandle(sharer, 1, 1), 0);
  EXPECT_EQ(CheckSoundHandlePlaying(owner), 0);
  EXPECT_EQ(CheckSoundHandlePlaying(sharer), 1);
  const std::vector<std::int16_t> heard = MixWithRefills(1000, 500);
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(heard[static_cast<std::size_t>(i)], -wqtest::PatternSample(i)) << i;

  // The owner's record stays while its ring buffer is shared.
  ASSERT_EQ(DeleteSoundHandle(owner, 0), 0);
  ASSERT_NE(FindSoundRecord(owner), nullptr);
  EXPECT_EQ(FindSoundRecord(owner)->deletePending, 1);
  ASSERT_EQ(DeleteSoundHandle(sharer, 0), 0);
  EXPECT_EQ(FindSoundRecord(owner), nullptr);
}

// Playing a stream that already plays with from top 0 changes nothing.
TEST_F(StreamSoundTest, FromTopZeroLeavesAPlayingStreamAlone) {
  const int sound = LoadStream("playing.wav", wqtest::PatternSamples(20000));
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  MixWithRefills(1000, 500);
  EXPECT_EQ(PlaySoundHandle(sound, 1, 0), 0);
  EXPECT_EQ(MixWithRefills(1, 1)[0], wqtest::PatternSample(1000));
  EXPECT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  EXPECT_EQ(MixWithRefills(1, 1)[0], wqtest::PatternSample(0));
}

// A movie's sound: create mode 3 with every decoder but Ogg Vorbis skipped
// streams straight from the open file; a WAVE is then refused.
TEST_F(StreamSoundTest, MovieSoundStreamsOggVorbisStraightFromTheFile) {
  if (!wqtest::ToolExists("sox") || !wqtest::ToolExists("oggenc")) GTEST_SKIP() << "sox or oggenc missing";
  const std::string base = dir_.path().string();
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/m.wav synth 1 sine 440 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("oggenc -Q -o " + base + "/m.ogg " + base + "/m.wav"));
  SetSoundCreateMode(3);
  SetSoundDecoderMask(-5);
  MovieSoundFlag = 1;
  const int sound = LoadSound(PathOf("m.ogg").c_str(), 1, -1);
  const int refused = LoadSound(PathOf("m.wav").c_str(), 1, -1);
  MovieSoundFlag = 0;
  SetSoundDecoderMask(0);
  SetSoundCreateMode(0);
  ASSERT_NE(sound, -1);
  EXPECT_EQ(refused, -1);
  const SoundRecord* record = FindSoundRecord(sound);
  EXPECT_EQ(record->stream, 1);
  EXPECT_EQ(record->sources[0].type, 3);
  EXPECT_EQ(record->sources[0].decoder.movieSound, 1);
  EXPECT_EQ(GetSoundTotalSamples(sound), 44100);
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  MixWithRefills(kMixRate / 4);
  std::vector<std::int16_t> tone;
  for (std::int16_t sample : MixWithRefills(kMixRate / 2)) tone.insert(tone.end(), {sample, sample});
  EXPECT_NEAR(wqtest::MeasureTone(tone, kMixRate).frequency, 440, 8);
  EXPECT_GE(GetSoundCurrentTime(sound), 740);
  EXPECT_EQ(DeleteSoundHandle(sound, 0), 0);  // closes the file it streams from
}

class StreamSoundThreadTest : public StreamSoundTest {
 protected:
  void SetUp() override {
    processors_ = 2;
    StreamSoundTest::SetUp();
  }

  // Waits until the streaming thread has written at least `lead` bytes
  // ahead of the play cursor, or all the data there is.
  static bool WaitForLead(int sound, std::uint32_t lead) {
    const DWORD deadline = GetTickCount() + 10000;
    while (static_cast<LONG>(deadline - GetTickCount()) > 0) {
      {
        SoundLockGuard lock;
        const SoundRecord* record = FindSoundRecord(sound);
        DWORD cursor = 0;
        record->buffers[0].buffer->GetCurrentPosition(&cursor, nullptr);
        const auto written = static_cast<std::uint32_t>(record->writePosition);
        const std::uint32_t ahead = (written + record->ringBytes - cursor) % record->ringBytes;
        if (record->endReached || ahead >= lead) return true;
      }
      Sleep(1);
    }
    return false;
  }
};

TEST_F(StreamSoundThreadTest, StreamingThreadRefillsAheadOfTheCursor) {
  ASSERT_NE(SoundSystem().thread, nullptr);
  constexpr std::int64_t kFrames = 3 * kMixRate;
  const int sound = LoadStream("thread.wav", wqtest::PatternSamples(kFrames));
  ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
  std::vector<std::int16_t> heard;
  constexpr std::uint32_t kStep = 441;
  while (heard.size() < kFrames + 2 * kStep) {
    ASSERT_TRUE(WaitForLead(sound, 2 * 8820)) << "no refill by " << heard.size();
    const std::vector<std::int16_t> mixed = Mix(kStep);
    for (std::uint32_t i = 0; i < kStep; ++i) heard.push_back(mixed[2 * i]);
  }
  for (std::int64_t i = 0; i < kFrames; ++i)
    ASSERT_EQ(heard[static_cast<std::size_t>(i)], wqtest::PatternSample(i)) << i;
  // The thread stops the sound once the cursor has passed its end.
  const DWORD deadline = GetTickCount() + 10000;
  while (CheckSoundHandlePlaying(sound) == 1 && static_cast<LONG>(deadline - GetTickCount()) > 0) {
    Mix(kStep);
    Sleep(1);
  }
  EXPECT_EQ(CheckSoundHandlePlaying(sound), 0);
}

}  // namespace
