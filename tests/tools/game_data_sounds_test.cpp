// The generated sounds: effects and the stage 1 music as 16-bit PCM WAV,
// the other music as Ogg Vorbis that decodes, loops without a jump, and one
// piece longer than the three minutes above which the game streams.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "game_data_files.h"

namespace {

using gamedata::DataFile;
using gamedata::kSounds;
using gamedata::Utf8;

constexpr double kStreamingSeconds = 180;

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

bool IsWav(const char8_t* path) { return Utf8(path).ends_with(".wav"); }

struct Decoded {
  int channels = 0;
  long rate = 0;
  double seconds = 0;
  std::vector<std::int16_t> samples;  // interleaved; filled when asked for
};

Decoded DecodeOgg(const std::filesystem::path& path, bool wholeSound) {
  Decoded decoded;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) {
    ADD_FAILURE() << path << " is not Ogg Vorbis";
    return decoded;
  }
  const vorbis_info* info = ov_info(&file, -1);
  decoded.channels = info->channels;
  decoded.rate = info->rate;
  decoded.seconds = static_cast<double>(ov_pcm_total(&file, -1)) / info->rate;
  if (wholeSound) {
    char buffer[8192];
    int section;
    long got;
    while ((got = ov_read(&file, buffer, sizeof(buffer), 0, 2, 1, &section)) > 0) {
      const std::size_t old = decoded.samples.size();
      decoded.samples.resize(old + got / 2);
      std::memcpy(decoded.samples.data() + old, buffer, got);
    }
    EXPECT_EQ(got, 0) << path << " has a damaged packet";
  }
  ov_clear(&file);
  return decoded;
}

TEST(GameDataSounds, WavFilesArePlainPcmWithConsistentHeaders) {
  for (const auto& spec : kSounds) {
    if (!IsWav(spec.path)) continue;
    SCOPED_TRACE(Utf8(spec.path));
    const std::vector<std::uint8_t> wav = ReadAll(DataFile(spec.path));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(Le(wav, 16, 4), 16u);
    EXPECT_EQ(Le(wav, 20, 2), 1u);  // PCM
    const std::uint32_t channels = Le(wav, 22, 2), rate = Le(wav, 24, 4), bits = Le(wav, 34, 2);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
    EXPECT_EQ(bits, 16u);
    EXPECT_EQ(Le(wav, 32, 2), channels * 2);         // block align
    EXPECT_EQ(Le(wav, 28, 4), rate * channels * 2);  // bytes per second
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
    const std::uint32_t dataBytes = Le(wav, 40, 4);
    EXPECT_EQ(dataBytes, wav.size() - 44);
    const double seconds = static_cast<double>(dataBytes) / (rate * channels * 2);
    // Effects are short; the title menu waits for the cursor sound to end.
    if (spec.music) {
      EXPECT_GT(seconds, 10);
      EXPECT_LE(seconds, kStreamingSeconds);
    } else {
      EXPECT_LT(seconds, Utf8(spec.path).find("cursor") != std::string::npos ? 0.3 : 2.0);
    }
    int peak = 0;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2) {
      peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(Le(wav, at, 2)))));
    }
    EXPECT_GT(peak, 8000) << "nearly silent";
    EXPECT_LT(peak, 32000) << "clipped";
    if (spec.music) {
      // The stage music loops: its last frame runs on into its first.
      const int first = static_cast<std::int16_t>(Le(wav, 44, 2));
      const int last = static_cast<std::int16_t>(Le(wav, wav.size() - channels * 2, 2));
      EXPECT_LT(std::abs(last - first), 3000) << "the loop jumps from " << last << " to " << first;
    }
  }
}

TEST(GameDataSounds, OggMusicDecodesAndExactlyOnePieceIsLongEnoughToStream) {
  int streamed = 0;
  for (const auto& spec : kSounds) {
    if (IsWav(spec.path)) continue;
    SCOPED_TRACE(Utf8(spec.path));
    const Decoded music = DecodeOgg(DataFile(spec.path), false);
    EXPECT_TRUE(music.channels == 1 || music.channels == 2);
    EXPECT_GE(music.rate, 22050);
    EXPECT_GT(music.seconds, 5);
    if (music.seconds > kStreamingSeconds) ++streamed;
  }
  EXPECT_EQ(streamed, 1);
  EXPECT_GT(DecodeOgg(DataFile(u8"Sound/BGM/game_vorlenta_9_medley02.ogg"), false).seconds, kStreamingSeconds);
}

// The game loops every piece: its end runs on into its start without a
// jump, and it is not silent.
TEST(GameDataSounds, MusicDecodesWholeAndLoopsSmoothly) {
  for (const char8_t* path : {u8"Sound/BGM/game_vorlenta_9_jingle08.ogg", u8"Sound/BGM/game_vorlenta_4_field11.ogg"}) {
    SCOPED_TRACE(Utf8(path));
    const Decoded music = DecodeOgg(DataFile(path), true);
    ASSERT_GT(music.samples.size(), 1000u);
    const std::size_t frames = music.samples.size() / music.channels;
    EXPECT_NEAR(static_cast<double>(frames) / music.rate, music.seconds, 0.001);
    int peak = 0;
    for (std::int16_t s : music.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 8000);
    const int last = music.samples[music.samples.size() - music.channels], first = music.samples[0];
    EXPECT_LT(std::abs(last - first), 3000) << "the loop jumps from " << last << " to " << first;
  }
}

}  // namespace
