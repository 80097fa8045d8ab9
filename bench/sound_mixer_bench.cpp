// The DirectSound mixer against SDL_MixAudioFormat: 64 looping 44.1 kHz
// stereo 16-bit voices summed into 44.1 kHz stereo, 1024 frames a call.
// Ours also resamples (at step 1), applies volume and pan per voice and
// keeps cursors; SDL's only scales and adds with clipping. Both report how
// many seconds of sound one core mixes per second (a multiple of real time).
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "platform/control.h"
#include "platform/dsound.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kVoices = 64;
constexpr DWORD kRate = 44100;
constexpr std::uint32_t kFramesPerCall = 1024;
constexpr DWORD kVoiceFrames = kRate;  // one second each

std::vector<std::int16_t> Noise(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> sample(-2000, 2000);
  std::vector<std::int16_t> samples(2 * kVoiceFrames);
  for (std::int16_t& s : samples) s = static_cast<std::int16_t>(sample(random));
  return samples;
}

WAVEFORMATEX Stereo16() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.wBitsPerSample = 16;
  format.nSamplesPerSec = kRate;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = kRate * 4;
  return format;
}

void SetAudioProcessed(benchmark::State& state) {
  state.counters["x_realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFramesPerCall / kRate,
                         benchmark::Counter::kIsRate);
}

void BM_DirectSoundMixer(benchmark::State& state) {
  WqControlSetSoundDevice(WqSoundDevice::kManual);
  CoInitialize(nullptr);
  D_IDirectSound* sound = nullptr;
  CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_ALL, IID_IDirectSound,
                   reinterpret_cast<void**>(&sound));
  sound->Initialize(nullptr);
  sound->SetCooperativeLevel(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1)),
                             D_DSSCL_PRIORITY);
  WAVEFORMATEX format = Stereo16();
  D_DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = D_DSBCAPS_PRIMARYBUFFER;
  D_IDirectSoundBuffer* primary = nullptr;
  sound->CreateSoundBuffer(&description, &primary, nullptr);
  primary->SetFormat(&format);

  std::vector<D_IDirectSoundBuffer*> voices;
  description.dwFlags = D_DSBCAPS_CTRLVOLUME | D_DSBCAPS_CTRLPAN | D_DSBCAPS_CTRLFREQUENCY;
  description.dwBufferBytes = kVoiceFrames * 4;
  description.lpwfxFormat = &format;
  for (int v = 0; v < kVoices; ++v) {
    D_IDirectSoundBuffer* buffer = nullptr;
    sound->CreateSoundBuffer(&description, &buffer, nullptr);
    void* region = nullptr;
    DWORD bytes = 0;
    buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, D_DSBLOCK_ENTIREBUFFER);
    std::memcpy(region, Noise(v).data(), bytes);
    buffer->Unlock(region, bytes, nullptr, 0);
    buffer->SetVolume(-(v * 37 % 1200));
    buffer->SetPan(v * 311 % 4000 - 2000);
    buffer->Play(0, 0, D_DSBPLAY_LOOPING);
    voices.push_back(buffer);
  }
  std::vector<std::int16_t> output(2 * kFramesPerCall);
  for (auto _ : state) {
    WqControlMixSound(output.data(), kFramesPerCall);
    benchmark::DoNotOptimize(output.data());
  }
  SetAudioProcessed(state);
  for (D_IDirectSoundBuffer* buffer : voices) buffer->Release();
  primary->Release();
  sound->Release();
  CoUninitialize();
}

void BM_SdlMixAudioFormat(benchmark::State& state) {
  std::vector<std::vector<std::int16_t>> voices;
  for (int v = 0; v < kVoices; ++v) voices.push_back(Noise(v));
  std::vector<std::int16_t> output(2 * kFramesPerCall);
  std::size_t cursor = 0;  // in frames, the same for every voice
  for (auto _ : state) {
    std::memset(output.data(), 0, output.size() * 2);
    for (int v = 0; v < kVoices; ++v) {
      SDL_MixAudioFormat(reinterpret_cast<Uint8*>(output.data()),
                         reinterpret_cast<const Uint8*>(voices[v].data() + 2 * cursor),
                         AUDIO_S16LSB, kFramesPerCall * 4, SDL_MIX_MAXVOLUME - v % 64);
    }
    cursor = (cursor + kFramesPerCall) % (kVoiceFrames - kFramesPerCall);
    benchmark::DoNotOptimize(output.data());
  }
  SetAudioProcessed(state);
}

BENCHMARK(BM_DirectSoundMixer);
BENCHMARK(BM_SdlMixAudioFormat);

// Each side's multiple of real time and the ratio between them.
void PrintSummary(const wqbench::SummaryReporter& reporter) {
  const double ours = reporter.Counter("BM_DirectSoundMixer", "x_realtime");
  const double sdl = reporter.Counter("BM_SdlMixAudioFormat", "x_realtime");
  if (ours <= 0 || sdl <= 0) return;
  std::printf("\n%d voices, 44.1 kHz stereo, one core:\n", kVoices);
  std::printf("  DirectSound mixer:   %8.1fx real time\n", ours);
  std::printf("  SDL_MixAudioFormat:  %8.1fx real time\n", sdl);
  std::printf("  mixer / SDL speed:   %8.2f\n", ours / sdl);
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
