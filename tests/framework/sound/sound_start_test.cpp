// Starting sound: the DirectMusic mode falling back where DirectMusic is
// missing, a start that fails leaving sound off (and its lock gone), and
// the report's missing pieces only logged.
#include "WqLib.h"
#include "platform/control_com.h"
#include "platform/dsound.h"
#include "sound/sound_decoder.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"

namespace {

class SoundStartTest : public wqtest::SoundTest {
 protected:
  void SetUp() override {
    start_ = false;
    SoundTest::SetUp();
  }
  void TearDown() override {
    WqControlSetComClassAbsent(CLSID_DirectSound, false);
    WqControlSetModuleAbsent("dsound.dll", false);
    WqControlSetModuleAbsent("msacm32.dll", false);
    SoundSystem().musicMode = 0;
    SoundTest::TearDown();
  }
  int LoadShortSound() {
    const std::string path =
        WriteSoundFile("short.wav", wqtest::PcmWave(1, 8000, wqtest::PatternSamples(100)));
    return LoadSound(path.c_str(), 1, -1);
  }
};

TEST_F(SoundStartTest, DirectMusicModeFallsBackToDirectSoundWithoutDirectMusic) {
  SoundSystem().musicMode = 1;
  ASSERT_EQ(InitializeDirectSound(), 0);
  EXPECT_EQ(SoundSystem().musicMode, 0);
  EXPECT_EQ(InitializeDirectSound(), -1);  // already started
  wqtest::ExpectLogInOrder(
      LogText(), {"DirectSound8 の初期化を行います", "DirectMusicLoader8 オブジェクトの作成に失敗しました",
                  "前バージョンでの初期化処理に移ります", "DirectSound の初期化を行います",
                  "DirectSound の初期化は正常に終了しました"});
  EXPECT_NE(LoadShortSound(), -1);
}

TEST_F(SoundStartTest, FailedStartLeavesSoundOffWithoutItsLock) {
  WqControlSetComClassAbsent(CLSID_DirectSound, true);
  EXPECT_EQ(InitializeDirectSound(), -1);
  EXPECT_EQ(SoundSystem().lockCreated, 0);
  EXPECT_NE(LogText().find("DirectSoundインターフェースの作成に失敗しました"), std::string::npos);
  EXPECT_EQ(LoadShortSound(), -1);
  EXPECT_EQ(ProcessAllStreamSounds(), -1);
  // And it starts once the class is back.
  WqControlSetComClassAbsent(CLSID_DirectSound, false);
  ASSERT_EQ(InitializeDirectSound(), 0);
  EXPECT_NE(LoadShortSound(), -1);
}

// Without DSOUND.DLL the report stops early; without msacm32 the
// compressed decoders refuse while PCM WAVE still loads.
TEST_F(SoundStartTest, MissingLibrariesOnlyShortenTheReportAndTheDecoders) {
  WqControlSetModuleAbsent("dsound.dll", true);
  WqControlSetModuleAbsent("msacm32.dll", true);
  ASSERT_EQ(InitializeDirectSound(), 0);
  const std::string log = LogText();
  EXPECT_NE(log.find("DSOUND.DLL のロードに失敗しました"), std::string::npos);
  EXPECT_EQ(log.find("最大サンプリングレート"), std::string::npos);
  EXPECT_NE(LoadShortSound(), -1);
  // The filter graph, tried last, decodes ADPCM without msacm32.
  SetSoundDecoderMask(kSkipDirectShow);
  const std::string adpcm =
      wqtest::WaveImage{wqtest::FormatChunk(0x11, 1, 8000, 4, 20), "", std::string(256, '\x11')}.Build();
  EXPECT_EQ(LoadSoundFromMemory(adpcm.data(), static_cast<int>(adpcm.size()), 1, -1), -1);
}

}  // namespace
