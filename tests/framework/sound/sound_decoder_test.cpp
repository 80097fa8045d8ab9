// The decoders over memory streams: the WAVE chunk walk and its format
// rules, the audio compression manager's path for WAVE and MP3, MPEG frame
// headers and tags, seeking, and a table of damaged files that are refused
// or played to the end of their good data.
#include <cstring>
#include <fstream>
#include <iterator>

#include "WqLib.h"
#include "core/files/stream_memory.h"
#include "sound/mp3_frame_header.h"
#include "sound/sound_decoder.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"
#include "sound_fixture.h"

namespace {

using wqtest::kMixRate;

// A decoder over a memory copy of the bytes, closed at the end.
class MemoryDecoder {
 public:
  explicit MemoryDecoder(std::string bytes) : bytes_(std::move(bytes)) {
    stream_ = StreamSource{*GetMemoryStreamFunctions(),
                           OpenMemoryStream(bytes_.data(), static_cast<LONG>(bytes_.size()))};
    result_ = SetupSoundDecoder(&stream_, &decoder_);
  }
  ~MemoryDecoder() {
    if (result_ == 0) CloseSoundDecoder(&decoder_);
    CloseMemoryStream(stream_.handle);
  }
  MemoryDecoder(const MemoryDecoder&) = delete;
  MemoryDecoder& operator=(const MemoryDecoder&) = delete;

  int result() const { return result_; }
  SoundDecoder& decoder() { return decoder_; }
  std::vector<std::int16_t> ReadAll() {
    std::vector<std::int16_t> samples;
    std::int16_t block[512];
    int read = 0;
    while ((read = ReadSoundDecoder(&decoder_, block, sizeof block)) > 0)
      samples.insert(samples.end(), block, block + read / 2);
    return samples;
  }

 private:
  std::string bytes_;
  StreamSource stream_{};
  SoundDecoder decoder_{};
  int result_ = -1;
};

using SoundDecoderTest = wqtest::SoundTest;

std::string ReadBinary(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST_F(SoundDecoderTest, WaveChunkWalkFollowsTheFormatRules) {
  const std::vector<std::int16_t> samples = wqtest::PatternSamples(600);
  // A 16-byte "fmt " whose bits field lies: the block align decides.
  std::string lying = wqtest::FormatChunk(WAVE_FORMAT_PCM, 2, 22050, 16);
  lying[14] = 8;
  // An odd-sized chunk before "data" is followed by one pad byte; a
  // "bext" chunk may stand before "fmt ".
  const std::string odd = std::string("LIST") + std::string("\x03\0\0\0", 4) + "abc" + '\0';
  struct Case {
    const char* what;
    std::string file;
  } cases[] = {
      {"bits from the block align", wqtest::WaveImage{lying, "", wqtest::Pcm16Bytes(samples)}.Build()},
      {"odd chunk padded",
       wqtest::WaveImage{wqtest::FormatChunk(WAVE_FORMAT_PCM, 2, 22050, 16), odd, wqtest::Pcm16Bytes(samples)}
           .Build()},
      {"18-byte fmt", wqtest::WaveImage{wqtest::FormatChunk(WAVE_FORMAT_PCM, 2, 22050, 16, 18), "",
                                        wqtest::Pcm16Bytes(samples)}
                          .Build()},
  };
  std::string bext = wqtest::PcmWave(2, 22050, samples);
  bext.insert(12, std::string("bext") + std::string("\x04\0\0\0", 4) + "1234");
  const std::uint32_t riffSize = static_cast<std::uint32_t>(bext.size() - 8);
  std::memcpy(bext.data() + 4, &riffSize, 4);
  for (Case& c : cases) {
    MemoryDecoder decoder(c.file);
    ASSERT_EQ(decoder.result(), 0) << c.what;
    EXPECT_EQ(decoder.decoder().kind, kDecoderWavePcm) << c.what;
    EXPECT_EQ(decoder.decoder().format.wBitsPerSample, 16) << c.what;
    EXPECT_EQ(decoder.decoder().format.cbSize, 0) << c.what;
    EXPECT_EQ(decoder.ReadAll(), samples) << c.what;
  }
  MemoryDecoder withBext(bext);
  ASSERT_EQ(withBext.result(), 0);
  EXPECT_EQ(withBext.ReadAll(), samples);
}

// With the PCM decoder skipped, a PCM WAVE goes through the audio
// compression manager and decodes to the same samples.
TEST_F(SoundDecoderTest, SkippingThePcmDecoderSendsWaveThroughTheCompressionManager) {
  const std::vector<std::int16_t> samples = wqtest::PatternSamples(5000);
  SetSoundDecoderMask(kSkipWavePcm);
  MemoryDecoder decoder(wqtest::PcmWave(1, 11025, samples));
  ASSERT_EQ(decoder.result(), 0);
  EXPECT_EQ(decoder.decoder().kind, kDecoderAcm);
  EXPECT_EQ(GetSoundDecoderPcmSize(&decoder.decoder()), 10000u);
  EXPECT_EQ(decoder.ReadAll(), samples);
  // Back and forth: seeking backwards restarts from the first block.
  ASSERT_EQ(SeekSoundDecoder(&decoder.decoder(), 1000), 0);
  std::int16_t sample = 0;
  ASSERT_EQ(ReadSoundDecoder(&decoder.decoder(), &sample, 2), 2);
  EXPECT_EQ(sample, samples[1000]);
  SetSoundDecoderMask(0);
}

TEST_F(SoundDecoderTest, SeeksOfFewerThanSixteenBytesDoNothing) {
  const std::vector<std::int16_t> samples = wqtest::PatternSamples(1000);
  MemoryDecoder decoder(wqtest::PcmWave(1, 8000, samples));
  ASSERT_EQ(decoder.result(), 0);
  std::int16_t read[100];
  ASSERT_EQ(ReadSoundDecoder(&decoder.decoder(), read, sizeof read), 200);
  ASSERT_EQ(SeekSoundDecoder(&decoder.decoder(), 107), 0);  // 14 bytes on: stays
  ASSERT_EQ(ReadSoundDecoder(&decoder.decoder(), read, 2), 2);
  EXPECT_EQ(read[0], samples[100]);
  ASSERT_EQ(SeekSoundDecoder(&decoder.decoder(), 500), 0);
  ASSERT_EQ(ReadSoundDecoder(&decoder.decoder(), read, 2), 2);
  EXPECT_EQ(read[0], samples[500]);
}

TEST(Mp3FrameHeaderTest, SizesAndRefusals) {
  struct Case {
    std::uint8_t header[4];
    int result;
    int frameBytes;
    int samples;
    int rate;
    int channels;
  } cases[] = {
      {{0xFF, 0xFB, 0x90, 0x00}, 0, 417, 1152, 44100, 2},  // MPEG-1 layer III 128 kbit/s
      {{0xFF, 0xFB, 0x92, 0xC0}, 0, 418, 1152, 44100, 1},  // padded, mono
      {{0xFF, 0xF3, 0x84, 0x00}, 0, 192, 576, 24000, 2},   // MPEG-2 layer III 64 kbit/s
      {{0xFF, 0xFD, 0x10, 0x00}, 0, 104, 1152, 44100, 2},  // MPEG-1 layer II 32 kbit/s
      {{0xFF, 0xFF, 0x10, 0x00}, 0, 32, 384, 44100, 2},    // MPEG-1 layer I 32 kbit/s
      {{0xFE, 0xFB, 0x90, 0x00}, -2, 0, 0, 0, 0},          // no sync
      {{0xFF, 0xF9, 0x90, 0x00}, -1, 0, 0, 0, 0},          // layer 0
      {{0xFF, 0xFB, 0xF0, 0x00}, -1, 0, 0, 0, 0},          // bit-rate index 15
      {{0xFF, 0xFB, 0x9C, 0x00}, -1, 0, 0, 0, 0},          // sample-rate index 3
      {{0xFF, 0xFB, 0x00, 0x00}, -1, 0, 0, 0, 0},          // free format
  };
  for (const Case& c : cases) {
    Mp3FrameHeader frame{};
    ASSERT_EQ(ParseMp3FrameHeader(c.header, &frame), c.result)
        << std::hex << int{c.header[1]} << int{c.header[2]};
    if (c.result != 0) continue;
    EXPECT_EQ(frame.frameBytes, c.frameBytes);
    EXPECT_EQ(frame.samplesPerFrame, c.samples);
    EXPECT_EQ(frame.sampleRate, c.rate);
    EXPECT_EQ(frame.channels, c.channels);
  }
}

// An ID3v2.4 tag with a footer is stepped over and a "TAG" trailer never
// decoded: the tagged file has the plain file's samples.
TEST_F(SoundDecoderTest, Mp3TagsAreSteppedOver) {
  if (!wqtest::ToolExists("sox") || !wqtest::ToolExists("lame")) GTEST_SKIP() << "sox or lame missing";
  const auto wav = dir_.path() / "tone.wav";
  const auto mp3 = dir_.path() / "tone.mp3";
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 1 -b 16 " + wav.string() + " synth 0.5 sine 660 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("lame --quiet -b 64 -t " + wav.string() + " " + mp3.string()));
  const std::string plain = ReadBinary(mp3);
  const std::string tagBody(300, '\x55');  // "U" runs look like nothing
  std::string tag = std::string("ID3\x04\x00\x10", 6) + std::string("\x00\x00\x02\x2C", 4) + tagBody;
  tag += std::string("3DI\x04\x00\x10", 6) + std::string("\x00\x00\x02\x2C", 4);
  std::string trailer = "TAG" + std::string(125, '\xFF');  // sync bytes that must not be read
  MemoryDecoder plainDecoder(plain);
  MemoryDecoder taggedDecoder(tag + plain + trailer);
  ASSERT_EQ(plainDecoder.result(), 0);
  ASSERT_EQ(taggedDecoder.result(), 0);
  EXPECT_EQ(taggedDecoder.decoder().kind, kDecoderAcm);
  EXPECT_EQ(taggedDecoder.decoder().dataStart, 320u);
  EXPECT_EQ(taggedDecoder.decoder().dataBytes, plainDecoder.decoder().dataBytes);
  EXPECT_EQ(GetSoundDecoderPcmSize(&taggedDecoder.decoder()),
            GetSoundDecoderPcmSize(&plainDecoder.decoder()));
  EXPECT_EQ(taggedDecoder.ReadAll(), plainDecoder.ReadAll());
}

// Damaged files: each is refused with a log line or plays its good data,
// and nothing leaks (the fixture counts the tracked blocks).
TEST_F(SoundDecoderTest, DamagedFilesAreRefusedOrPlayTheirGoodData) {
  // The file decoders' own refusals: the filter graph, tried last, would
  // make what it can of some of these.
  SetSoundDecoderMask(kSkipDirectShow);
  const std::vector<std::int16_t> samples = wqtest::PatternSamples(400);
  const std::string good = wqtest::PcmWave(1, 8000, samples);
  auto zeroAt = [&](std::size_t offset, std::size_t bytes) {
    std::string file = good;
    std::memset(file.data() + offset, 0, bytes);
    return file;
  };
  // The byte rate decides buffers or streaming; a stream's ring is sized
  // and paced by it.
  auto byteRate = [&](std::uint32_t rate) {
    std::string file = good;
    std::memcpy(file.data() + 28, &rate, 4);
    return file;
  };
  // An extensible format whose cbSize names 22 bytes the chunk lacks.
  std::string extensibleChunk = wqtest::FormatChunk(0xFFFE, 1, 8000, 16, 18);
  extensibleChunk[16] = 22;
  const std::string extensibleCut =
      wqtest::WaveImage{extensibleChunk, "", wqtest::Pcm16Bytes(samples)}.Build();
  std::string hugeChunk =
      wqtest::WaveImage{wqtest::FormatChunk(WAVE_FORMAT_PCM, 1, 8000, 16),
                        std::string("LIST\xF0\xFF\xFF\x7F", 8), wqtest::Pcm16Bytes(samples)}
          .Build();
  std::string garbageOgg = "OggS";
  for (int i = 0; i < 2000; ++i) garbageOgg += static_cast<char>((i * 131 + 7) % 251);
  std::string mp3WithoutFrames = std::string("ID3\x03\x00\x00\x00\x00\x00\x10", 10) + std::string(800, '\0');
  std::string mp3BadHeader =
      std::string(200, '\0') + std::string("\xFF\xF9\x90\x00", 4) + std::string(600, '\0');
  struct Case {
    const char* what;
    std::string file;
    int samples;  // -1: refused
  } cases[] = {
      {"truncated header", good.substr(0, 10), -1},
      {"cut in the fmt chunk", good.substr(0, 30), -1},
      {"no data chunk", good.substr(0, 36), -1},
      {"data claims more than the file holds",
       wqtest::WaveImage{wqtest::FormatChunk(WAVE_FORMAT_PCM, 1, 8000, 16), "", wqtest::Pcm16Bytes(samples),
                         1 << 30}
           .Build(),
       400},
      {"cut inside a sample", good.substr(0, good.size() - 3), 398},
      {"chunk size past the end", hugeChunk, -1},
      {"empty fmt chunk", wqtest::WaveImage{"", "", wqtest::Pcm16Bytes(samples)}.Build(), -1},
      {"zero channels", zeroAt(22, 2), -1},
      {"zero rate", zeroAt(24, 4), -1},
      {"zero byte rate", zeroAt(28, 4), -1},
      {"zero block align", zeroAt(32, 2), -1},
      {"byte rate far below the rate", byteRate(3), -1},
      {"byte rate far above the rate", byteRate(1u << 30), 400},
      {"24-bit samples",
       wqtest::WaveImage{wqtest::FormatChunk(WAVE_FORMAT_PCM, 1, 8000, 24), "", std::string(600, '\1')}
           .Build(),
       -1},
      {"extension longer than its chunk", extensibleCut, -1},
      {"six channels",
       wqtest::WaveImage{wqtest::FormatChunk(WAVE_FORMAT_PCM, 6, 8000, 16), "", std::string(1200, '\1')}
           .Build(),
       -1},
      {"garbage Ogg pages", garbageOgg, -1},
      {"MP3 without frames", mp3WithoutFrames, -1},
      {"MP3 with a reserved layer", mp3BadHeader, -1},
      {"MP3 sync only in the trailing tag",
       std::string(200, '\0') + "TAG" + std::string("\xFF\xFB\x90\x00", 4) + std::string(121, '\0'), -1},
      {"nothing", std::string(1, '\0'), -1},
  };
  for (const Case& c : cases) {
    const int sound = LoadSoundFromMemory(c.file.data(), static_cast<int>(c.file.size()), 1, -1);
    if (c.samples < 0) {
      EXPECT_EQ(sound, -1) << c.what;
      continue;
    }
    ASSERT_NE(sound, -1) << c.what;
    EXPECT_EQ(GetSoundTotalSamples(sound), c.samples) << c.what;
    ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0) << c.what;
    Mix(kMixRate);  // the whole sound, resampled from 8 kHz
    EXPECT_EQ(CheckSoundHandlePlaying(sound), 0) << c.what;
    EXPECT_EQ(DeleteSoundHandle(sound, 0), 0) << c.what;
  }
  const std::string log = LogText();
  EXPECT_NE(log.find("音声ファイルのＰＣＭへの変換に失敗しました"), std::string::npos);
  EXPECT_NE(log.find("WAVE ファイルのフォーマット情報が不正です"), std::string::npos);
  EXPECT_NE(log.find("再生できないフォーマットの音声データです"), std::string::npos);
}

// Files made by outside encoders decode to their tones.
TEST_F(SoundDecoderTest, OutsideEncodersFilesPlayTheirTones) {
  for (const char* tool : {"sox", "oggenc", "lame"}) {
    if (!wqtest::ToolExists(tool)) GTEST_SKIP() << tool << " missing";
  }
  const std::string base = dir_.path().string();
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/a.wav synth 1 sine 440 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/b.wav synth 1 sine 880 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("oggenc -Q -q 6 -o " + base + "/b.ogg " + base + "/b.wav"));
  ASSERT_TRUE(wqtest::RunTool("sox -n -r 44100 -c 2 -b 16 " + base + "/c.wav synth 1 sine 660 vol 0.5"));
  ASSERT_TRUE(wqtest::RunTool("lame --quiet -b 192 " + base + "/c.wav " + base + "/c.mp3"));
  struct Case {
    const char* file;
    double frequency;
    std::int32_t kind;
  } cases[] = {
      {"a.wav", 440, kDecoderWavePcm}, {"b.ogg", 880, kDecoderOggVorbis}, {"c.mp3", 660, kDecoderAcm}};
  for (const Case& c : cases) {
    const int sound = LoadSound(PathOf(c.file).c_str(), 1, -1);
    ASSERT_NE(sound, -1) << c.file;
    EXPECT_NEAR(GetSoundTotalTime(sound), 1000, 100) << c.file;  // whole MPEG frames, and an info frame
    ASSERT_EQ(PlaySoundHandle(sound, 1, 1), 0);
    Mix(kMixRate / 4);  // past any encoder delay
    const std::vector<std::int16_t> mixed = Mix(kMixRate / 2);
    const wqtest::ToneMeasure tone = wqtest::MeasureTone(mixed, kMixRate);
    EXPECT_NEAR(tone.frequency, c.frequency, 8) << c.file;
    EXPECT_NEAR(tone.peak, 16384, 1200) << c.file;
    StopSoundHandle(sound);
  }
}

}  // namespace
