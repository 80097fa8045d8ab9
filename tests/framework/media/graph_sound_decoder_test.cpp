// The sound loader's last decoder: an MP2 file made by ffmpeg converts
// through a filter graph to the PCM of ffmpeg's own decode, and every
// failure logs its line and leaves no object or block behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "core/files/stream_memory.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"
#include "media/filters/com_object.h"
#include "platform/control.h"
#include "sound/sound_decoder.h"
#include "sound/sound_system.h"
#include "support/temp_dir.h"

namespace {

// Every decoder but the graph's.
constexpr int kOnlyTheGraph = kSkipWavePcm | kSkipWaveAcm | kSkipOggVorbis | kSkipMp3;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class GraphSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    WqControlSetSoundDevice(WqSoundDevice::kManual);
    SetCharSetClass(1);
    SetLogFolder(dir_.WindowsPath().c_str());
    OpenLogFile();
    LoadEarlyRuntimeLibraries();
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    WindowSystem().logicalProcessors = 1;
    blocksAtStart_ = GetTrackedBlockCount();
    ASSERT_EQ(InitializeDirectSound(), 0);
    SetSoundDecoderMask(kOnlyTheGraph);
  }
  void TearDown() override {
    TerminateDirectSound();
    SetSoundDecoderMask(0);
    WindowSystem().quit = 0;
    EXPECT_EQ(GetTrackedBlockCount(), blocksAtStart_);
    EXPECT_EQ(GetLiveFilterObjectCount(), 0);
    CoUninitialize();
    FreeRuntimeLibraries();
    SetLogFolder("");
    WqControlSetSoundDevice(WqSoundDevice::kSystem);
  }
  // Runs ffmpeg to make `name` in the test's folder; its path.
  std::filesystem::path Make(const std::string& arguments, const std::string& name) {
    const std::filesystem::path file = dir_.path() / name;
    const std::string command = "ffmpeg -nostdin -v error -y " + arguments + " '" + file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return file;
  }
  // A 16-bit stereo 44,100 Hz tone at a low bit rate, so the PCM is far
  // more than ten times the file; and ffmpeg's own decode of it.
  void MakeTone(double seconds) {
    const std::string length = std::to_string(seconds);
    mp2_ = Make("-f lavfi -i 'sine=frequency=523:sample_rate=44100:duration=" + length +
                    "' -ac 2 -c:a mp2 -b:a 64k",
                "tone.mp2");
    expected_ = ReadFile(Make("-i '" + mp2_.string() + "' -f s16le -c:a pcm_s16le", "tone.raw"));
    ASSERT_FALSE(expected_.empty());
  }
  std::string WindowsPathOf(const std::filesystem::path& file) const {
    return dir_.WindowsPath() + "\\" + file.filename().string();
  }
  std::string Log() const { return dir_.ReadFile("Log.txt"); }

  wqtest::TempDir dir_;
  std::filesystem::path mp2_;
  std::string expected_;
  int blocksAtStart_ = 0;
};

TEST_F(GraphSoundTest, AnMp2FileConvertsToThePcmOfADirectDecode) {
  MakeTone(3.0);
  const std::string image = ReadFile(mp2_);
  ASSERT_LT(image.size() * 10, expected_.size()) << "the PCM block has to grow";
  const StreamHandle stream = OpenMemoryStream(image.data(), static_cast<LONG>(image.size()));
  StreamSource source{*GetMemoryStreamFunctions(), stream};
  SoundDecoder decoder{};
  ASSERT_EQ(SetupSoundDecoder(&source, &decoder), 0);
  EXPECT_EQ(decoder.kind, kDecoderPcmBlock);
  const WAVEFORMATEX& format = decoder.format;
  EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format.nChannels, 2);
  EXPECT_EQ(format.nSamplesPerSec, 44100u);
  EXPECT_EQ(format.nBlockAlign, 4);
  EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(format.wBitsPerSample, 16);
  EXPECT_EQ(format.cbSize, 0);
  EXPECT_EQ(decoder.readUnit, 176400u);
  EXPECT_GE(decoder.pcmBlock.capacity, decoder.pcmBlock.bytes);
  WAVEFORMATEX decodedFormat{};
  void* pcm = nullptr;
  std::uint32_t bytes = 0;
  ASSERT_EQ(DecodeSoundToMemory(&decoder, &decodedFormat, &pcm, &bytes), 0);
  ASSERT_EQ(bytes, expected_.size());
  EXPECT_EQ(std::memcmp(pcm, expected_.data(), bytes), 0);
  TrackedFree(pcm);
  CloseSoundDecoder(&decoder);
  CloseMemoryStream(stream);
}

TEST_F(GraphSoundTest, LoadSoundTakesTheGraphWhenTheOtherDecodersAreMaskedOff) {
  MakeTone(1.0);
  const int handle = LoadSound(WindowsPathOf(mp2_).c_str(), 3, -1);
  ASSERT_GE(handle, 0) << Log();
  EXPECT_EQ(GetSoundTotalSamples(handle), static_cast<int>(expected_.size() / 4));
  EXPECT_EQ(DeleteSoundHandle(handle, 0), 0);
}

TEST_F(GraphSoundTest, FailuresLogTheirLineAndReleaseEverything) {
  const std::filesystem::path garbage = dir_.path() / "garbage.mp2";
  std::ofstream(garbage, std::ios::binary) << std::string(4096, '\x5A');
  const std::filesystem::path silent =
      Make("-f lavfi -i 'color=c=red:size=32x32:duration=1' -c:v mpeg1video -f mpeg", "video.mpg");
  struct Case {
    const char* name;
    std::filesystem::path file;
    const char* line;
  };
  const Case cases[] = {
      {"garbage", garbage, "グラフの構築に失敗しました"},
      {"no audio stream", silent, "グラフの構築に失敗しました"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadSound(WindowsPathOf(c.file).c_str(), 1, -1), -1) << c.name;
    EXPECT_NE(Log().find(c.line), std::string::npos) << c.name << "\n" << Log();
    EXPECT_EQ(GetLiveFilterObjectCount(), 0) << c.name;
  }
}

// A graph that will not run, or whose wait for the end fails for any
// reason but the time-out, would never finish: both are errors.
TEST_F(GraphSoundTest, AGraphThatDoesNotRunOrCannotBeWaitedForFails) {
  MakeTone(0.5);
  for (const char* method : {"Run", "WaitForCompletion"}) {
    WqControlSetFilterGraphCallFails(method, true);
    EXPECT_EQ(LoadSound(WindowsPathOf(mp2_).c_str(), 1, -1), -1) << method;
    WqControlSetFilterGraphCallFails(method, false);
    EXPECT_NE(Log().find("MP3変換の途中でエラーが発生しました"), std::string::npos) << method << "\n" << Log();
    EXPECT_EQ(GetLiveFilterObjectCount(), 0) << method;
  }
  // With nothing failing the same file converts.
  const int handle = LoadSound(WindowsPathOf(mp2_).c_str(), 1, -1);
  EXPECT_GE(handle, 0) << Log();
  EXPECT_EQ(DeleteSoundHandle(handle, 0), 0);
}

TEST_F(GraphSoundTest, QuittingDuringTheConversionEndsIt) {
  MakeTone(1.0);
  WindowSystem().quit = 1;
  EXPECT_EQ(LoadSound(WindowsPathOf(mp2_).c_str(), 1, -1), -1);
  EXPECT_NE(Log().find("MP3変換の途中でソフトが終了しました"), std::string::npos) << Log();
}

}  // namespace
