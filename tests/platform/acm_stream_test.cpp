// The ACM stream functions on hand-made data: PCM layout conversions, block
// alignment, size queries, the errors a caller must see, and damaged ADPCM.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/msacm.h"
#include "platform/windows.h"
#include "support/pcm_format.h"
#include "support/riff_wave.h"

namespace {

WAVEFORMATEX Pcm(WORD channels, WORD bits, DWORD rate = 22050) {
  return wqtest::PcmFormat(channels, bits, rate);
}

// A stream open for the test's length, closed at its end.
class OpenStream {
 public:
  OpenStream(const WAVEFORMATEX* source, const WAVEFORMATEX* destination) {
    result = acmStreamOpen(&handle, nullptr, const_cast<WAVEFORMATEX*>(source),
                           const_cast<WAVEFORMATEX*>(destination), nullptr, 0, 0, 0);
  }
  ~OpenStream() {
    if (handle != nullptr) acmStreamClose(handle, 0);
  }

  // One prepared conversion of all of `source`.
  std::vector<BYTE> Convert(std::vector<BYTE> source, DWORD room, DWORD* used = nullptr) {
    std::vector<BYTE> output(room);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = source.data();
    header.cbSrcLength = static_cast<DWORD>(source.size());
    header.pbDst = output.data();
    header.cbDstLength = room;
    EXPECT_EQ(acmStreamPrepareHeader(handle, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(handle, &header, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
    EXPECT_TRUE(header.fdwStatus & ACMSTREAMHEADER_STATUSF_DONE);
    EXPECT_EQ(acmStreamUnprepareHeader(handle, &header, 0), MMSYSERR_NOERROR);
    if (used != nullptr) *used = header.cbSrcLengthUsed;
    output.resize(header.cbDstLengthUsed);
    return output;
  }

  HACMSTREAM handle = nullptr;
  MMRESULT result;
};

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
  return {values.begin(), values.end()};
}

struct PcmCase {
  const char* what;
  const WAVEFORMATEX* source;  // may be followed by an extension
  WAVEFORMATEX destination;
  std::vector<BYTE> input;
  std::vector<BYTE> expected;
};

TEST(AcmStreamTest, PcmLayoutsConvertSampleBySample) {
  WAVEFORMATEXTENSIBLE extensible{};
  extensible.Format = Pcm(1, 24);
  extensible.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  extensible.Format.cbSize = sizeof extensible - sizeof(WAVEFORMATEX);
  extensible.Samples.wValidBitsPerSample = 24;
  extensible.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  const WAVEFORMATEX mono8 = Pcm(1, 8);
  const WAVEFORMATEX mono16 = Pcm(1, 16);
  const WAVEFORMATEX stereo16 = Pcm(2, 16);
  const PcmCase cases[] = {
      {"8 to 16 bits", &mono8, Pcm(1, 16), Bytes({0x00, 0x80, 0xFF}),
       Bytes({0x00, 0x80, 0, 0, 0x00, 0x7F})},
      {"16 to 8 bits", &mono16, Pcm(1, 8), Bytes({0x00, 0x80, 0xFF, 0x7F, 0x34, 0x12}),
       Bytes({0x00, 0xFF, 0x92})},
      {"stereo to mono averages", &stereo16, Pcm(1, 16), Bytes({0x00, 0x10, 0x00, 0x30}),
       Bytes({0x00, 0x20})},
      {"mono to stereo repeats", &mono16, Pcm(2, 16), Bytes({0x34, 0x12}),
       Bytes({0x34, 0x12, 0x34, 0x12})},
      {"extensible 24 to 16 bits", &extensible.Format, Pcm(1, 16), Bytes({0x56, 0x34, 0x12}),
       Bytes({0x34, 0x12})},
      {"partial frame left over", &stereo16, Pcm(2, 16), Bytes({1, 2, 3, 4, 5}),
       Bytes({1, 2, 3, 4})},
  };
  for (const PcmCase& c : cases) {
    OpenStream stream(c.source, &c.destination);
    ASSERT_EQ(stream.result, MMSYSERR_NOERROR) << c.what;
    EXPECT_EQ(stream.Convert(c.input, 64), c.expected) << c.what;
  }
}

TEST(AcmStreamTest, ConversionsOnlyBetweenWhatTheConvertersTake) {
  WAVEFORMATEX mp3 = Pcm(2, 16, 44100);
  mp3.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.nBlockAlign = 1;
  mp3.wBitsPerSample = 0;
  WAVEFORMATEX unknown = Pcm(2, 16);
  unknown.wFormatTag = 0x0161;  // a codec no converter takes
  const WAVEFORMATEX pcm = Pcm(2, 16);
  WAVEFORMATEX suggestion{};
  EXPECT_EQ(acmFormatSuggest(nullptr, &unknown, &suggestion, sizeof suggestion, 0),
            ACMERR_NOTPOSSIBLE);
  OpenStream refused(&unknown, &pcm);
  EXPECT_EQ(refused.result, ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(refused.handle, nullptr);
  const WAVEFORMATEX other_rate = Pcm(2, 16, 44100);
  EXPECT_EQ(OpenStream(&pcm, &other_rate).result, ACMERR_NOTPOSSIBLE);
  const WAVEFORMATEX decoded_mp3 = Pcm(2, 16, 44100);
  const WAVEFORMATEX eight_bit_mp3 = Pcm(2, 8, 44100);
  EXPECT_EQ(OpenStream(&mp3, &decoded_mp3).result, MMSYSERR_NOERROR);
  EXPECT_EQ(OpenStream(&mp3, &eight_bit_mp3).result, ACMERR_NOTPOSSIBLE);

  // Suggestions: the decoded layout, or the fields a caller fixes.
  ASSERT_EQ(acmFormatSuggest(nullptr, &mp3, &suggestion, sizeof suggestion, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(suggestion.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(suggestion.nChannels, 2);
  EXPECT_EQ(suggestion.nSamplesPerSec, 44100u);
  EXPECT_EQ(suggestion.nAvgBytesPerSec, 176400u);
  WAVEFORMATEX mono = Pcm(1, 8);
  ASSERT_EQ(acmFormatSuggest(nullptr, const_cast<WAVEFORMATEX*>(&pcm), &mono, sizeof mono,
                             ACM_FORMATSUGGESTF_NCHANNELS | ACM_FORMATSUGGESTF_WBITSPERSAMPLE),
            MMSYSERR_NOERROR);
  EXPECT_EQ(mono.nChannels, 1);
  EXPECT_EQ(mono.wBitsPerSample, 8);
  EXPECT_EQ(mono.nSamplesPerSec, 22050u);
  WAVEFORMATEX adpcm_wanted = Pcm(2, 16);
  adpcm_wanted.wFormatTag = WAVE_FORMAT_ADPCM;
  EXPECT_EQ(acmFormatSuggest(nullptr, const_cast<WAVEFORMATEX*>(&pcm), &adpcm_wanted,
                             sizeof adpcm_wanted, ACM_FORMATSUGGESTF_WFORMATTAG),
            ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(acmFormatSuggest(nullptr, const_cast<WAVEFORMATEX*>(&pcm), &suggestion, 16, 0),
            MMSYSERR_INVALPARAM);

  // A query opens nothing.
  EXPECT_EQ(acmStreamOpen(nullptr, nullptr, const_cast<WAVEFORMATEX*>(&pcm), &mono, nullptr, 0, 0,
                          ACM_STREAMOPENF_QUERY),
            MMSYSERR_NOERROR);
}

TEST(AcmStreamTest, HandlesAndHeadersAreChecked) {
  const WAVEFORMATEX pcm = Pcm(1, 16);
  OpenStream stream(&pcm, &pcm);
  ASSERT_EQ(stream.result, MMSYSERR_NOERROR);
  BYTE source[4] = {};
  BYTE destination[4] = {};
  ACMSTREAMHEADER header{};
  header.cbStruct = 84;  // a 32-bit caller's header size
  header.pbSrc = source;
  header.cbSrcLength = 4;
  header.pbDst = destination;
  header.cbDstLength = 4;
  EXPECT_EQ(acmStreamConvert(stream.handle, &header, 0), ACMERR_UNPREPARED);
  EXPECT_EQ(acmStreamUnprepareHeader(stream.handle, &header, 0), ACMERR_UNPREPARED);
  ASSERT_EQ(acmStreamPrepareHeader(stream.handle, &header, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(acmStreamConvert(stream.handle, &header, 0x100), MMSYSERR_INVALFLAG);
  EXPECT_EQ(acmStreamConvert(stream.handle, &header, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(header.cbDstLengthUsed, 4u);
  ASSERT_EQ(acmStreamUnprepareHeader(stream.handle, &header, 0), MMSYSERR_NOERROR);
  header.cbStruct = 40;
  EXPECT_EQ(acmStreamPrepareHeader(stream.handle, &header, 0), MMSYSERR_INVALPARAM);

  DWORD size = 0;
  EXPECT_EQ(acmStreamSize(stream.handle, 7, &size, 2), MMSYSERR_INVALFLAG);
  EXPECT_EQ(acmStreamSize(stream.handle, 7, nullptr, 0), MMSYSERR_INVALPARAM);

  HACMSTREAM closed = nullptr;
  ASSERT_EQ(acmStreamOpen(&closed, nullptr, const_cast<WAVEFORMATEX*>(&pcm),
                          const_cast<WAVEFORMATEX*>(&pcm), nullptr, 0, 0, 0),
            MMSYSERR_NOERROR);
  ASSERT_EQ(acmStreamClose(closed, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(acmStreamClose(closed, 0), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(acmStreamSize(closed, 4, &size, 0), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(acmStreamPrepareHeader(closed, &header, 0), MMSYSERR_INVALHANDLE);

  DWORD largest = 0;
  EXPECT_EQ(acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &largest), MMSYSERR_NOERROR);
  EXPECT_GE(largest, sizeof(MPEGLAYER3WAVEFORMAT));
  EXPECT_EQ(acmMetrics(nullptr, 1, &largest), MMSYSERR_NOTSUPPORTED);
}

// An IMA ADPCM mono format of 36-byte blocks: a 4-byte header and 64 codes.
WAVEFORMATEX ImaMono() {
  IMAADPCMWAVEFORMAT format{};
  format.wfx = Pcm(1, 16);
  format.wfx.wFormatTag = WAVE_FORMAT_IMA_ADPCM;
  format.wfx.wBitsPerSample = 4;
  format.wfx.nBlockAlign = 36;
  format.wfx.cbSize = 2;
  format.wSamplesPerBlock = 65;
  return format.wfx;
}

TEST(AcmStreamTest, AdpcmConvertsWholeBlocksAndSizesThem) {
  const WAVEFORMATEX ima = ImaMono();
  WAVEFORMATEX pcm{};
  ASSERT_EQ(acmFormatSuggest(nullptr, const_cast<WAVEFORMATEX*>(&ima), &pcm, sizeof pcm, 0),
            MMSYSERR_NOERROR);
  OpenStream stream(&ima, &pcm);
  ASSERT_EQ(stream.result, MMSYSERR_NOERROR);
  DWORD size = 0;
  ASSERT_EQ(acmStreamSize(stream.handle, 36 * 3 + 10, &size, ACM_STREAMSIZEF_SOURCE),
            MMSYSERR_NOERROR);
  EXPECT_EQ(size, 3u * 65 * 2);
  ASSERT_EQ(acmStreamSize(stream.handle, 65 * 2 * 2 + 1, &size, ACM_STREAMSIZEF_DESTINATION),
            MMSYSERR_NOERROR);
  EXPECT_EQ(size, 2u * 36);

  // Two and a half blocks, room for one and a half: one block converts.
  std::vector<BYTE> blocks(90, 0x77);
  blocks[0] = 0x10, blocks[1] = 0x00, blocks[2] = 200;  // step index beyond the table
  DWORD used = 0;
  const std::vector<BYTE> decoded = stream.Convert(blocks, 65 * 2 + 65, &used);
  EXPECT_EQ(used, 36u);
  ASSERT_EQ(decoded.size(), 65u * 2);
  EXPECT_EQ(decoded[0] | decoded[1] << 8, 0x10);
  EXPECT_GT(static_cast<std::int16_t>(decoded[2] | decoded[3] << 8), 0x10);  // code 7 rises
}

// A Microsoft ADPCM mono format with two coefficient pairs (the first is
// `first`) and blocks of 7 header bytes and `code_bytes` code bytes.
struct MsAdpcmMono {
  ADPCMWAVEFORMAT format;
  ADPCMCOEFSET second;

  MsAdpcmMono(ADPCMCOEFSET first, WORD code_bytes) : format{}, second{512, -256} {
    format.wfx = Pcm(1, 16);
    format.wfx.wFormatTag = WAVE_FORMAT_ADPCM;
    format.wfx.wBitsPerSample = 4;
    format.wfx.nBlockAlign = static_cast<WORD>(7 + code_bytes);
    format.wfx.cbSize = 4 + 2 * sizeof(ADPCMCOEFSET);
    format.wSamplesPerBlock = static_cast<WORD>(2 + 2 * code_bytes);
    format.wNumCoef = 2;
    format.aCoef[0] = first;
  }
};

TEST(AcmStreamTest, MsAdpcmBlockWithABadPredictorIndexStaysInsideTheTable) {
  MsAdpcmMono record({256, 0}, 4);
  WAVEFORMATEX pcm = Pcm(1, 16);
  OpenStream stream(&record.format.wfx, &pcm);
  ASSERT_EQ(stream.result, MMSYSERR_NOERROR);
  // Predictor 9 (beyond the two), delta 16, samples 100 and 50, codes 0.
  const std::vector<BYTE> block = Bytes({9, 16, 0, 100, 0, 50, 0, 0, 0, 0, 0});
  const std::vector<BYTE> decoded = stream.Convert(block, 64);
  ASSERT_EQ(decoded.size(), 20u);
  EXPECT_EQ(decoded[0], 50);  // the older sample comes first
  EXPECT_EQ(decoded[2], 100);
  EXPECT_EQ(decoded[4], 100);  // the first pair holds the latest sample
}

// Damaged or hostile blocks whose arithmetic would leave 32 bits: the
// prediction from extreme coefficients, and a step size that grows on every
// largest code. Both hold at full scale instead of wrapping round.
TEST(AcmStreamTest, MsAdpcmExtremeBlocksSaturate) {
  struct Case {
    const char* what;
    ADPCMCOEFSET first_pair;
    std::vector<BYTE> header;  // predictor, delta, latest sample, older sample
    BYTE codes;
    std::size_t full_scale_samples;  // decoded at 32767 after the header's two
  };
  constexpr WORD kCodeBytes = 32;
  const Case cases[] = {
      {"largest prediction", {-32768, -32768}, Bytes({0, 16, 0, 0, 0x80, 0, 0x80}), 0x00, 1},
      {"ever growing step", {256, 0}, Bytes({0, 0xFF, 0x7F, 0, 0, 0, 0}), 0x77, 2 * kCodeBytes},
  };
  for (const Case& c : cases) {
    MsAdpcmMono record(c.first_pair, kCodeBytes);
    WAVEFORMATEX pcm = Pcm(1, 16);
    OpenStream stream(&record.format.wfx, &pcm);
    ASSERT_EQ(stream.result, MMSYSERR_NOERROR) << c.what;
    std::vector<BYTE> block = c.header;
    block.resize(7 + kCodeBytes, c.codes);
    const std::vector<std::int16_t> decoded = wqtest::Pcm16Samples(stream.Convert(block, 256));
    ASSERT_EQ(decoded.size(), 2u + 2 * kCodeBytes) << c.what;
    for (std::size_t i = 2; i < 2 + c.full_scale_samples; ++i) {
      ASSERT_EQ(decoded[i], 32767) << c.what << ", sample " << i;
    }
  }
}

TEST(AcmStreamTest, ModuleExportsTheStreamFunctions) {
  HMODULE module = LoadLibraryA("msacm32.dll");
  ASSERT_NE(module, nullptr);
  for (const char* name : {"acmFormatSuggest", "acmStreamOpen", "acmStreamClose", "acmMetrics",
                           "acmStreamPrepareHeader", "acmStreamConvert", "acmStreamUnprepareHeader",
                           "acmStreamSize"}) {
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  }
  FreeLibrary(module);
}

}  // namespace
