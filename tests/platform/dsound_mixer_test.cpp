// DirectSound buffers mixed on the manual clock: every frame the mixer
// produces is asked for by the test, so cursors and mixed samples are exact.
#include <cmath>

#include "support/direct_sound_fixture.h"

namespace {

constexpr DWORD kRate = 44100;
const WAVEFORMATEX kStereo16 = wqtest::PcmFormat(2, 16, kRate);
const WAVEFORMATEX kMono16 = wqtest::PcmFormat(1, 16, kRate);

class DirectSoundMixerTest : public wqtest::DirectSoundFixture {
 protected:
  void SetUp() override { Open(WqSoundDevice::kManual, kStereo16); }

  // The next `frames` mixed frames, interleaved left and right.
  static std::vector<std::int16_t> Mix(std::uint32_t frames) {
    std::vector<std::int16_t> mixed(2 * frames);
    EXPECT_EQ(WqControlMixSound(mixed.data(), frames), 4u * frames);
    return mixed;
  }

  // A mono buffer of `frames` frames holding `value` in every sample.
  D_IDirectSoundBuffer* ConstantBuffer(std::int16_t value, DWORD frames = 1000,
                                       DWORD flags = wqtest::kAllControls) {
    D_IDirectSoundBuffer* buffer = MakeBuffer(kMono16, 2 * frames, flags);
    Fill(buffer, std::vector<std::int16_t>(frames, value));
    return buffer;
  }
};

TEST_F(DirectSoundMixerTest, LoopingCursorAdvancesByTheFramesMixedAndWraps) {
  D_IDirectSoundBuffer* buffer = MakeBuffer(kStereo16, 4000);  // 1000 frames
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  EXPECT_EQ(Status(buffer), D_DSBSTATUS_PLAYING | D_DSBSTATUS_LOOPING);
  Mix(300);
  EXPECT_EQ(PlayCursor(buffer), 1200u);
  Mix(800);
  EXPECT_EQ(PlayCursor(buffer), 400u);
  Mix(2000);  // two more whole passes
  EXPECT_EQ(PlayCursor(buffer), 400u);
  EXPECT_EQ(Status(buffer), D_DSBSTATUS_PLAYING | D_DSBSTATUS_LOOPING);

  DWORD play = 0;
  DWORD write = 0;
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), D_DS_OK);
  EXPECT_EQ(write % 4, 0u);
  EXPECT_NE(write, play);  // a playing buffer's write cursor leads
}

TEST_F(DirectSoundMixerTest, OneShotStopsAtItsEndWithPositionZeroAndFallsSilent) {
  D_IDirectSoundBuffer* buffer = ConstantBuffer(1000, 100);
  ASSERT_EQ(buffer->Play(0, 0, 0), D_DS_OK);
  Mix(99);
  EXPECT_EQ(Status(buffer), D_DSBSTATUS_PLAYING);
  EXPECT_EQ(PlayCursor(buffer), 198u);
  const std::vector<std::int16_t> mixed = Mix(4);
  EXPECT_EQ(mixed[0], 1000);  // the last frame
  EXPECT_EQ(mixed[2], 0);     // then nothing
  EXPECT_EQ(Status(buffer), 0u);
  EXPECT_EQ(PlayCursor(buffer), 0u);
}

TEST_F(DirectSoundMixerTest, PlayOnAPlayingBufferOnlyChangesItsFlagsAndStopKeepsTheCursor) {
  D_IDirectSoundBuffer* buffer = ConstantBuffer(1000, 100);
  ASSERT_EQ(buffer->Play(0, 0, 0), D_DS_OK);
  Mix(40);
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  EXPECT_EQ(PlayCursor(buffer), 80u);
  EXPECT_EQ(Status(buffer), D_DSBSTATUS_PLAYING | D_DSBSTATUS_LOOPING);
  Mix(100);  // past the end: looping now
  EXPECT_EQ(PlayCursor(buffer), 80u);

  ASSERT_EQ(buffer->Stop(), D_DS_OK);
  Mix(50);
  EXPECT_EQ(PlayCursor(buffer), 80u);
  EXPECT_EQ(Status(buffer), 0u);
  ASSERT_EQ(buffer->SetCurrentPosition(43), D_DS_OK);  // held to a whole frame
  EXPECT_EQ(PlayCursor(buffer), 42u);
  EXPECT_EQ(buffer->SetCurrentPosition(200), D_DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundMixerTest, DuplicatesShareSamplesButNotCursorsStateOrControls) {
  D_IDirectSoundBuffer* original = ConstantBuffer(0, 100);
  ASSERT_EQ(original->SetVolume(-600), D_DS_OK);
  D_IDirectSoundBuffer* duplicate = nullptr;
  ASSERT_EQ(sound_->DuplicateSoundBuffer(original, &duplicate), D_DS_OK);
  buffers_.push_back(duplicate);
  Fill(original, std::vector<std::int16_t>(100, 10000));  // seen by the duplicate

  ASSERT_EQ(duplicate->SetVolume(0), D_DS_OK);
  ASSERT_EQ(duplicate->Play(0, 0, 0), D_DS_OK);
  std::vector<std::int16_t> mixed = Mix(30);
  EXPECT_EQ(mixed[0], 10000);
  EXPECT_EQ(PlayCursor(duplicate), 60u);
  EXPECT_EQ(PlayCursor(original), 0u);
  EXPECT_EQ(Status(original), 0u);

  // Both playing from different places: the original at its own -6 dB.
  ASSERT_EQ(original->Play(0, 0, 0), D_DS_OK);
  mixed = Mix(1);
  EXPECT_NEAR(mixed[0], 10000 + 5012, 2);
  EXPECT_EQ(PlayCursor(original), 2u);
  EXPECT_EQ(PlayCursor(duplicate), 62u);
}

struct GainCase {
  LONG volume;
  LONG pan;
  int left;
  int right;
};

TEST_F(DirectSoundMixerTest, VolumeAndPanScaleTheMixedSamples) {
  const GainCase cases[] = {
      {0, 0, 10000, 10000},          {-600, 0, 5012, 5012},      {-2000, 0, 1000, 1000},
      {0, 1000, 3162, 10000},        {0, -1000, 10000, 3162},    {-600, -600, 5012, 2512},
      {0, D_DSBPAN_RIGHT, 0, 10000}, {D_DSBVOLUME_MIN, 0, 0, 0},
  };
  D_IDirectSoundBuffer* buffer = ConstantBuffer(10000);
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  for (const GainCase& c : cases) {
    ASSERT_EQ(buffer->SetVolume(c.volume), D_DS_OK);
    ASSERT_EQ(buffer->SetPan(c.pan), D_DS_OK);
    const std::vector<std::int16_t> mixed = Mix(1);
    EXPECT_NEAR(mixed[0], c.left, 2) << c.volume << " " << c.pan;
    EXPECT_NEAR(mixed[1], c.right, 2) << c.volume << " " << c.pan;
  }
  EXPECT_EQ(buffer->SetVolume(1), D_DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetPan(D_DSBPAN_LEFT - 1), D_DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundMixerTest, ControlsOutsideTheCreationFlagsAreUnavailable) {
  D_IDirectSoundBuffer* buffer = ConstantBuffer(1000, 100, D_DSBCAPS_STATIC);
  EXPECT_EQ(buffer->SetVolume(-100), D_DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(buffer->SetPan(100), D_DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(buffer->SetFrequency(22050), D_DSERR_CONTROLUNAVAIL);
}

TEST_F(DirectSoundMixerTest, FrequencyResamplesByLinearInterpolation) {
  // A ramp at half the mixing rate: every second mixed frame lies halfway.
  D_IDirectSoundBuffer* buffer = MakeBuffer(wqtest::PcmFormat(1, 16, kRate / 2), 2 * 100);
  std::vector<std::int16_t> ramp(100);
  for (int i = 0; i < 100; ++i) ramp[i] = static_cast<std::int16_t>(i * 100);
  Fill(buffer, ramp);
  ASSERT_EQ(buffer->Play(0, 0, 0), D_DS_OK);
  std::vector<std::int16_t> mixed = Mix(6);
  const std::int16_t expected_half_rate[] = {0, 50, 100, 150, 200, 250};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(mixed[2 * i], expected_half_rate[i]) << i;
  EXPECT_EQ(PlayCursor(buffer), 6u);  // three frames at the buffer's own rate

  ASSERT_EQ(buffer->SetFrequency(kRate * 2), D_DS_OK);  // now two frames per mixed frame
  mixed = Mix(3);
  EXPECT_EQ(mixed[0], 300);
  EXPECT_EQ(mixed[2], 500);
  EXPECT_EQ(mixed[4], 700);
  EXPECT_EQ(PlayCursor(buffer), 18u);

  ASSERT_EQ(buffer->SetFrequency(D_DSBFREQUENCY_ORIGINAL), D_DS_OK);
  mixed = Mix(2);
  EXPECT_EQ(mixed[0], 900);
  EXPECT_EQ(mixed[2], 950);
  EXPECT_EQ(buffer->SetFrequency(D_DSBFREQUENCY_MIN - 1), D_DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetFrequency(D_DSBFREQUENCY_MAX + 1), D_DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundMixerTest, SourcesOfEveryLayoutMixAndTheSumSaturates) {
  D_IDirectSoundBuffer* loud = ConstantBuffer(30000);
  D_IDirectSoundBuffer* eight_bit = MakeBuffer(wqtest::PcmFormat(2, 8, kRate), 2 * 100);
  {
    void* region1 = nullptr;
    DWORD bytes1 = 0;
    ASSERT_EQ(eight_bit->Lock(0, 0, &region1, &bytes1, nullptr, nullptr, D_DSBLOCK_ENTIREBUFFER),
              D_DS_OK);
    ASSERT_EQ(bytes1, 200u);
    auto* bytes = static_cast<BYTE*>(region1);
    for (DWORD i = 0; i < bytes1; i += 2) bytes[i] = 255, bytes[i + 1] = 0;  // left +, right -
    ASSERT_EQ(eight_bit->Unlock(region1, bytes1, nullptr, 0), D_DS_OK);
  }
  ASSERT_EQ(eight_bit->Play(0, 0, 0), D_DS_OK);
  std::vector<std::int16_t> mixed = Mix(1);
  EXPECT_EQ(mixed[0], 127 * 256);
  EXPECT_EQ(mixed[1], -128 * 256);
  ASSERT_EQ(loud->Play(0, 0, 0), D_DS_OK);
  mixed = Mix(1);
  EXPECT_EQ(mixed[0], 32767);
  EXPECT_EQ(mixed[1], 30000 - 128 * 256);
}

TEST_F(DirectSoundMixerTest, LockGivesTwoRegionsAcrossTheWrap) {
  D_IDirectSoundBuffer* buffer = MakeBuffer(kStereo16, 400);
  void* region1 = nullptr;
  void* region2 = nullptr;
  DWORD bytes1 = 0;
  DWORD bytes2 = 0;
  ASSERT_EQ(buffer->Lock(392, 16, &region1, &bytes1, &region2, &bytes2, 0), D_DS_OK);
  EXPECT_EQ(bytes1, 8u);
  EXPECT_EQ(bytes2, 8u);
  EXPECT_EQ(static_cast<BYTE*>(region1) - static_cast<BYTE*>(region2), 392);
  ASSERT_EQ(buffer->Unlock(region1, bytes1, region2, bytes2), D_DS_OK);

  ASSERT_EQ(buffer->Lock(0, 400, &region1, &bytes1, &region2, &bytes2, 0), D_DS_OK);
  const auto* start = static_cast<BYTE*>(region1);
  EXPECT_EQ(bytes1, 400u);
  EXPECT_EQ(region2, nullptr);
  EXPECT_EQ(bytes2, 0u);
  EXPECT_EQ(buffer->Unlock(static_cast<BYTE*>(region1) + 4, 400, nullptr, 0), D_DSERR_INVALIDPARAM);

  EXPECT_EQ(buffer->Lock(400, 4, &region1, &bytes1, &region2, &bytes2, 0), D_DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(0, 404, &region1, &bytes1, &region2, &bytes2, 0), D_DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(392, 16, &region1, &bytes1, nullptr, nullptr, 0), D_DSERR_INVALIDPARAM);

  // From the write cursor of a playing buffer, which leads the play cursor.
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  Mix(10);
  DWORD play = 0;
  DWORD write = 0;
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), D_DS_OK);
  ASSERT_EQ(buffer->Lock(0, 8, &region1, &bytes1, &region2, &bytes2, D_DSBLOCK_FROMWRITECURSOR),
            D_DS_OK);
  EXPECT_EQ(play, 40u);
  EXPECT_EQ(static_cast<BYTE*>(region1) - start, static_cast<std::ptrdiff_t>(write));
  EXPECT_NE(write, play);
}

TEST_F(DirectSoundMixerTest, AReleasedPlayingBufferStops) {
  D_IDirectSoundBuffer* buffer = ConstantBuffer(1000);
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  EXPECT_EQ(Mix(1)[0], 1000);
  buffers_.clear();
  EXPECT_EQ(buffer->Release(), 0u);
  EXPECT_EQ(Mix(1)[0], 0);
}

TEST_F(DirectSoundMixerTest, MonoAndEightBitMixingFormats) {
  D_IDirectSoundBuffer* buffer = MakeBuffer(kStereo16, 400);
  Fill(buffer, std::vector<std::int16_t>(200, 0));
  Fill(buffer, {1000, 3000});
  ASSERT_EQ(buffer->Play(0, 0, 0), D_DS_OK);
  const WAVEFORMATEX mono8 = wqtest::PcmFormat(1, 8, kRate);
  ASSERT_EQ(primary_->SetFormat(&mono8), D_DS_OK);
  BYTE mixed[2] = {};
  ASSERT_EQ(WqControlMixSound(mixed, 2), 2u);
  EXPECT_EQ(mixed[0], 128 + 2000 / 256);  // the two channels averaged
  EXPECT_EQ(mixed[1], 128);
}

}  // namespace
