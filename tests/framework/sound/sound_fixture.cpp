// The sound test fixture and the wave-file helpers.
#include "sound_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"
#include "platform/ole32.h"
#include "sound/sound_system.h"

namespace wqtest {

namespace {

std::string U32(std::uint32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }
std::string U16(std::uint16_t value) { return std::string(reinterpret_cast<const char*>(&value), 2); }

}  // namespace

std::string WaveImage::Build() const {
  std::string body = "WAVE";
  body += "fmt " + U32(static_cast<std::uint32_t>(formatChunk.size())) + formatChunk;
  body += extraChunks;
  const auto dataBytes = claimedDataBytes < 0 ? data.size() : static_cast<std::size_t>(claimedDataBytes);
  body += "data" + U32(static_cast<std::uint32_t>(dataBytes)) + data;
  return "RIFF" + U32(static_cast<std::uint32_t>(body.size())) + body;
}

std::string FormatChunk(WORD tag, WORD channels, DWORD rate, WORD bits, int chunkBytes) {
  const auto block = static_cast<WORD>(channels * bits / 8);
  std::string chunk = U16(tag) + U16(channels) + U32(rate) + U32(rate * block) + U16(block) + U16(bits);
  if (chunkBytes >= 18) chunk += U16(0);
  chunk.resize(static_cast<std::size_t>(chunkBytes), '\0');
  return chunk;
}

std::string Pcm16Bytes(const std::vector<std::int16_t>& samples) {
  return std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
}

std::string PcmWave(WORD channels, DWORD rate, const std::vector<std::int16_t>& samples) {
  return WaveImage{FormatChunk(WAVE_FORMAT_PCM, channels, rate, 16), "", Pcm16Bytes(samples)}.Build();
}

std::int16_t PatternSample(std::int64_t frame) {
  return static_cast<std::int16_t>((frame * 37) % 30011 - 15005);
}

std::vector<std::int16_t> PatternSamples(std::int64_t frames) {
  std::vector<std::int16_t> samples(static_cast<std::size_t>(frames));
  for (std::int64_t i = 0; i < frames; ++i) samples[static_cast<std::size_t>(i)] = PatternSample(i);
  return samples;
}

ToneMeasure MeasureTone(const std::vector<std::int16_t>& stereo, std::uint32_t rate) {
  const std::size_t frames = stereo.size() / 2;
  int crossings = 0;
  int peak = 0;
  for (std::size_t i = 1; i < frames; ++i) {
    if (stereo[2 * (i - 1)] < 0 && stereo[2 * i] >= 0) ++crossings;
    peak = std::max(peak, std::abs(int{stereo[2 * i]}));
  }
  return {frames == 0 ? 0.0 : crossings * static_cast<double>(rate) / static_cast<double>(frames), peak};
}

void ExpectLogInOrder(const std::string& log, const std::vector<std::string>& texts) {
  std::size_t position = 0;
  for (const std::string& text : texts) {
    const std::size_t found = log.find(text, position);
    ASSERT_NE(found, std::string::npos) << "missing after byte " << position << ": " << text;
    position = found + text.size();
  }
}

bool ToolExists(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

bool RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

void SoundTest::SetUp() {
  WqControlSetSoundDevice(WqSoundDevice::kManual);
  SetCharSetClass(1);
  SetLogFolder(dir_.WindowsPath().c_str());
  OpenLogFile();
  LoadEarlyRuntimeLibraries();
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  WindowSystem().logicalProcessors = processors_;
  blocksAtStart_ = GetTrackedBlockCount();
  if (start_) {
    ASSERT_EQ(InitializeDirectSound(), 0);
  }
}

void SoundTest::TearDown() {
  TerminateDirectSound();
  SetSoundDecoderMask(0);
  // Everything the subsystem allocated went with it.
  EXPECT_EQ(GetTrackedBlockCount(), blocksAtStart_);
  CoUninitialize();
  FreeRuntimeLibraries();
  SetLogFolder("");
  WqControlSetSoundDevice(WqSoundDevice::kSystem);
}

std::vector<std::int16_t> SoundTest::Mix(std::uint32_t frames) {
  std::vector<std::int16_t> mixed(2 * std::size_t{frames});
  EXPECT_EQ(WqControlMixSound(mixed.data(), frames), 4u * frames);
  return mixed;
}

std::vector<std::int16_t> SoundTest::MixWithRefills(std::uint32_t frames, std::uint32_t step) {
  std::vector<std::int16_t> left;
  left.reserve(frames);
  while (frames > 0) {
    const std::uint32_t now = std::min(step, frames);
    const std::vector<std::int16_t> mixed = Mix(now);
    for (std::uint32_t i = 0; i < now; ++i) left.push_back(mixed[2 * i]);
    ProcessAllStreamSounds();
    frames -= now;
  }
  return left;
}

std::string SoundTest::WriteSoundFile(const std::string& name, const std::string& bytes) const {
  dir_.WriteFile(name, bytes);
  return PathOf(name);
}

std::string SoundTest::PathOf(const std::string& name) const { return dir_.WindowsPath() + "\\" + name; }

std::string SoundTest::LogText() const { return dir_.ReadFile("Log.txt"); }

}  // namespace wqtest
