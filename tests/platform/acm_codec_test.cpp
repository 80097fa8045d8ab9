// Compressed files made by outside encoders (sox, lame) decode through the
// ACM stream functions, fed in 2 KiB pieces as a caller streaming a file
// does, to PCM that matches the same tool's own decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/msacm.h"
#include "support/riff_wave.h"
#include "support/temp_dir.h"

namespace {

constexpr DWORD kPieceBytes = 2048;

// The reference codecs come from scripts/setup; a machine without them
// fails these tests rather than skipping them unnoticed.
testing::AssertionResult ToolsInstalled(std::initializer_list<const char*> tools) {
  for (const char* tool : tools) {
    if (std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) != 0) {
      return testing::AssertionFailure() << tool << " is not installed (scripts/setup installs it)";
    }
  }
  return testing::AssertionSuccess();
}

bool RunTool(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// How a caller converts: the room it gives each call (0: a second of
// output), and whether it drains the stream with empty calls once its input
// is used up or, as a streaming reader does, stops there.
struct Consumer {
  DWORD room = 0;
  bool drains = true;
};

// The whole of `data` through one stream to the suggested PCM format.
std::vector<std::int16_t> DecodeThroughAcm(std::vector<std::uint8_t> format,
                                           std::vector<std::uint8_t> data,
                                           Consumer consumer = {}) {
  auto* source = reinterpret_cast<WAVEFORMATEX*>(format.data());
  WAVEFORMATEX output{};
  output.wFormatTag = WAVE_FORMAT_PCM;
  EXPECT_EQ(
      acmFormatSuggest(nullptr, source, &output, sizeof output, ACM_FORMATSUGGESTF_WFORMATTAG),
      MMSYSERR_NOERROR);
  EXPECT_EQ(output.wBitsPerSample, 16);
  EXPECT_EQ(output.nChannels, source->nChannels);
  HACMSTREAM stream = nullptr;
  EXPECT_EQ(
      acmStreamOpen(&stream, nullptr, source, &output, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME),
      MMSYSERR_NOERROR);
  std::vector<std::uint8_t> pcm;
  std::vector<std::uint8_t> piece(consumer.room != 0 ? consumer.room : output.nAvgBytesPerSec);
  for (std::size_t at = 0; stream != nullptr && (consumer.drains || at < data.size());) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = data.data() + at;
    header.cbSrcLength = static_cast<DWORD>(std::min<std::size_t>(kPieceBytes, data.size() - at));
    header.pbDst = piece.data();
    header.cbDstLength = static_cast<DWORD>(piece.size());
    EXPECT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    if (header.cbDstLengthUsed == 0) break;
    pcm.insert(pcm.end(), piece.begin(), piece.begin() + header.cbDstLengthUsed);
    at += header.cbSrcLengthUsed;
  }
  EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
  return wqtest::Pcm16Samples(pcm);
}

// Largest difference between `decoded` shifted by `offset` samples and the
// reference, over what both hold. A search for the best offset passes the
// best so far as `give_up_above`: an offset already worse is abandoned, which
// keeps the search over thousands of offsets short in a sanitizer build.
int LargestDifference(const std::vector<std::int16_t>& decoded,
                      const std::vector<std::int16_t>& reference, std::size_t offset,
                      int give_up_above = INT32_MAX) {
  int largest = 0;
  for (std::size_t i = 0; i + offset < decoded.size() && i < reference.size(); ++i) {
    largest = std::max(largest, std::abs(decoded[i + offset] - reference[i]));
    if (largest > give_up_above) break;
  }
  return largest;
}

struct SoxCase {
  const char* name;
  const char* encoding;  // sox output options
  WORD tag;
  int tolerance;              // largest sample difference from sox's own decode
  std::size_t block_samples;  // a partial last block may stay undecoded
};

class AcmSoxCodecTest : public testing::TestWithParam<SoxCase> {};

TEST_P(AcmSoxCodecTest, DecodesLikeTheEncodersOwnDecoder) {
  ASSERT_TRUE(ToolsInstalled({"sox"}));
  const SoxCase& c = GetParam();
  wqtest::TempDir dir;
  const auto encoded = dir.path() / "encoded.wav";
  const auto reference = dir.path() / "reference.wav";
  // A stereo chord that sweeps in level, so every code path of the codec runs.
  ASSERT_TRUE(RunTool("sox -n -r 22050 -c 2 " + std::string(c.encoding) + " " + Quoted(encoded) +
                      " synth 1.3 sine 440 sine 1250 tremolo 3 90 gain -3"));
  ASSERT_TRUE(RunTool("sox " + Quoted(encoded) + " -e signed -b 16 " + Quoted(reference)));
  const auto source = wqtest::ParseRiffWave(dir.ReadFile("encoded.wav"));
  const auto expected = wqtest::ParseRiffWave(dir.ReadFile("reference.wav"));
  ASSERT_TRUE(source && expected);
  ASSERT_EQ(reinterpret_cast<const WAVEFORMATEX*>(source->format.data())->wFormatTag, c.tag);

  const std::vector<std::int16_t> decoded = DecodeThroughAcm(source->format, source->data);
  const std::vector<std::int16_t> wanted = wqtest::Pcm16Samples(expected->data);
  EXPECT_LE(decoded.size(), wanted.size());
  EXPECT_GE(decoded.size() + 2 * c.block_samples, wanted.size());
  EXPECT_LE(LargestDifference(decoded, wanted, 0), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Sox, AcmSoxCodecTest,
    testing::Values(SoxCase{"ImaAdpcm", "-e ima-adpcm", WAVE_FORMAT_IMA_ADPCM, 0, 505},
                    SoxCase{"MsAdpcm", "-e ms-adpcm", WAVE_FORMAT_ADPCM, 0, 500},
                    SoxCase{"MuLaw", "-e u-law", WAVE_FORMAT_MULAW, 0, 1},
                    SoxCase{"ALaw", "-e a-law", WAVE_FORMAT_ALAW, 0, 1}),
    [](const testing::TestParamInfo<SoxCase>& info) { return std::string(info.param.name); });

// An MPEGLAYER3WAVEFORMAT as a caller builds it from the first frame.
std::vector<std::uint8_t> Mp3Format(WORD channels, DWORD rate, DWORD kbits) {
  MPEGLAYER3WAVEFORMAT format{};
  format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  format.wfx.nChannels = channels;
  format.wfx.nSamplesPerSec = rate;
  format.wfx.nAvgBytesPerSec = kbits * 1000 / 8;
  format.wfx.nBlockAlign = 1;
  format.wfx.cbSize = sizeof format - sizeof format.wfx;
  format.wID = MPEGLAYER3_ID_MPEG;
  format.nBlockSize = static_cast<WORD>((rate >= 32000 ? 144 : 72) * kbits * 1000 / rate);
  format.nFramesPerBlock = 1;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&format);
  return {bytes, bytes + sizeof format};
}

struct Mp3Case {
  const char* name;
  WORD channels;
  DWORD rate;
  DWORD kbits;
};

class AcmMp3Test : public testing::TestWithParam<Mp3Case> {
 protected:
  // A two-note chord made by sox, encoded by lame into "tone.mp3" in `dir`.
  static bool EncodeTone(const wqtest::TempDir& dir, const Mp3Case& c) {
    const auto tone = dir.path() / "tone.wav";
    return RunTool("sox -n -r " + std::to_string(c.rate) + " -c " + std::to_string(c.channels) +
                   " -b 16 " + Quoted(tone) + " synth 1.5 sine 523 sine 784 gain -6") &&
           RunTool("lame --quiet -b " + std::to_string(c.kbits) + " --cbr " + Quoted(tone) + " " +
                   Quoted(dir.path() / "tone.mp3"));
  }
};

TEST_P(AcmMp3Test, DecodesLikeLameWithEveryFrameKept) {
  ASSERT_TRUE(ToolsInstalled({"sox", "lame"}));
  const Mp3Case& c = GetParam();
  wqtest::TempDir dir;
  ASSERT_TRUE(EncodeTone(dir, c));
  const auto reference = dir.path() / "reference.wav";
  ASSERT_TRUE(RunTool("lame --quiet --decode " + Quoted(dir.path() / "tone.mp3") + " " +
                      Quoted(reference)));
  const std::string mp3 = dir.ReadFile("tone.mp3");
  const auto expected = wqtest::ParseRiffWave(dir.ReadFile("reference.wav"));
  ASSERT_TRUE(expected);

  const std::vector<std::int16_t> decoded =
      DecodeThroughAcm(Mp3Format(c.channels, c.rate, c.kbits), {mp3.begin(), mp3.end()});
  const std::vector<std::int16_t> wanted = wqtest::Pcm16Samples(expected->data);
  // lame's decode drops the info frame and the encoder delay; this one keeps
  // every frame, so the two line up a little over a frame apart.
  const std::size_t frame_samples = (c.rate >= 32000 ? 1152u : 576u) * c.channels;
  ASSERT_GE(decoded.size(), wanted.size());
  EXPECT_EQ(decoded.size() % frame_samples, 0u);
  std::size_t best_offset = 0;
  int best = INT32_MAX;
  for (std::size_t offset = 0; offset <= 4 * 1152 * c.channels; offset += c.channels) {
    const int difference = LargestDifference(decoded, wanted, offset, best);
    if (difference < best) best = difference, best_offset = offset;
  }
  EXPECT_LE(best, 4) << "at offset " << best_offset;
  EXPECT_GE(best_offset, frame_samples);
}

// A caller whose output room holds one frame gets every frame of the input
// it hands over, with no drain at the end: input is taken only as far as
// its output fits.
TEST_P(AcmMp3Test, OutputRoomOfOneFrameLosesNothing) {
  ASSERT_TRUE(ToolsInstalled({"sox", "lame"}));
  const Mp3Case& c = GetParam();
  wqtest::TempDir dir;
  ASSERT_TRUE(EncodeTone(dir, c));
  const std::string mp3 = dir.ReadFile("tone.mp3");
  const std::vector<std::uint8_t> format = Mp3Format(c.channels, c.rate, c.kbits);
  const std::vector<std::int16_t> whole = DecodeThroughAcm(format, {mp3.begin(), mp3.end()});
  const std::size_t frame_samples = (c.rate >= 32000 ? 1152u : 576u) * c.channels;
  const std::vector<std::int16_t> framewise = DecodeThroughAcm(
      format, {mp3.begin(), mp3.end()}, {static_cast<DWORD>(2 * frame_samples), false});
  // The decoder may wait for the header after the last frame.
  EXPECT_GE(framewise.size() + frame_samples, whole.size());
  EXPECT_EQ(LargestDifference(framewise, whole, 0), 0);
}

// A stream whose frames are at another rate than its format names decodes
// to nothing, and quietly: the program's stderr is not the codec's.
TEST_P(AcmMp3Test, FramesAtAnotherRateThanTheFormatsGiveNothingAndSayNothing) {
  ASSERT_TRUE(ToolsInstalled({"sox", "lame"}));
  const Mp3Case& c = GetParam();
  wqtest::TempDir dir;
  ASSERT_TRUE(EncodeTone(dir, c));
  const std::string mp3 = dir.ReadFile("tone.mp3");
  const DWORD declared_rate = c.rate == 44100 ? 48000 : 44100;
  testing::internal::CaptureStderr();
  const std::vector<std::int16_t> decoded =
      DecodeThroughAcm(Mp3Format(c.channels, declared_rate, c.kbits), {mp3.begin(), mp3.end()});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(decoded.empty());
}

INSTANTIATE_TEST_SUITE_P(Lame, AcmMp3Test,
                         testing::Values(Mp3Case{"Stereo128", 2, 44100, 128},
                                         Mp3Case{"Stereo320", 2, 48000, 320},
                                         Mp3Case{"MonoMpeg2", 1, 22050, 64}),
                         [](const testing::TestParamInfo<Mp3Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
