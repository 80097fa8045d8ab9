// A started sound subsystem on the platform's manual mixing clock: every
// frame the device plays is mixed by the test, so cursors, refills and the
// mixed samples are exact. Sound files are written into a private folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/mmsystem.h"
#include "support/temp_dir.h"

namespace wqtest {

// The device mixes 16-bit stereo at 44,100 Hz.
constexpr std::uint32_t kMixRate = 44100;

// A RIFF WAVE file image: the "fmt " chunk holds `formatChunk` (its size as
// given), then `extra` chunks, then "data" with the size `claimedDataBytes`
// (the real size when negative) and the bytes given.
struct WaveImage {
  std::string formatChunk;
  std::string extraChunks;
  std::string data;
  std::int64_t claimedDataBytes = -1;
  std::string Build() const;
};

std::string FormatChunk(WORD tag, WORD channels, DWORD rate, WORD bits, int chunkBytes = 16);
// 16-bit samples as bytes.
std::string Pcm16Bytes(const std::vector<std::int16_t>& samples);
// A PCM WAVE file of 16-bit samples.
std::string PcmWave(WORD channels, DWORD rate, const std::vector<std::int16_t>& samples);
// A sample pattern that tells each frame's position apart, for gap and
// loop checks: frame i holds PatternSample(i).
std::int16_t PatternSample(std::int64_t frame);
std::vector<std::int16_t> PatternSamples(std::int64_t frames);

// Frequency by upward zero crossings, and the largest sample, of the left
// channel of interleaved stereo.
struct ToneMeasure {
  double frequency;
  int peak;
};
ToneMeasure MeasureTone(const std::vector<std::int16_t>& stereo, std::uint32_t rate);

// Each text appears in the log after the previous one.
void ExpectLogInOrder(const std::string& log, const std::vector<std::string>& texts);

// Runs a shell command of an outside tool; false when it fails.
bool RunTool(const std::string& command);
bool ToolExists(const std::string& tool);

class SoundTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The next `frames` mixed frames, interleaved left and right.
  static std::vector<std::int16_t> Mix(std::uint32_t frames);
  // Mixes `frames` frames in steps of `step`, refilling the stream sounds
  // after each as the message pump of a one-processor machine does; the
  // left channel of everything mixed.
  static std::vector<std::int16_t> MixWithRefills(std::uint32_t frames, std::uint32_t step = 1323);

  // Writes a file into the test's folder and gives its Windows path.
  std::string WriteSoundFile(const std::string& name, const std::string& bytes) const;
  std::string PathOf(const std::string& name) const;
  std::string LogText() const;

  // The processor count the subsystem sees at start: 1 refills from the
  // message processing, more starts the streaming thread.
  int processors_ = 1;
  // Started in SetUp unless a test clears this before.
  bool start_ = true;
  TempDir dir_;

 private:
  int blocksAtStart_ = 0;
};

}  // namespace wqtest
