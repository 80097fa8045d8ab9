// The DirectSound mixer against SDL's own mixing: 64 looping stereo 16-bit
// voices, each at its own volume, summed with clipping into 44.1 kHz
// stereo, 1024 device frames a call. The voices play at the device's rate
// (no resampling: both sides scale and add) and at 22,050 Hz, where both
// sides also resample: ours interpolates linearly between frames as it
// mixes; SDL converts each voice through an SDL_AudioStream (its
// band-limited resampler) and then mixes. Ours also applies each voice's
// pan (a second gain, as cheap as the first) and keeps the play cursors a
// program reads. Each side reports its time per call, wall and CPU, and
// how many seconds of sound one core mixes per second.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/dsound.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kVoices = 64;
constexpr DWORD kDeviceRate = 44100;
constexpr DWORD kVoiceRates[] = {kDeviceRate, 22050};
constexpr std::uint32_t kFramesPerCall = 1024;
constexpr std::size_t kBytesPerFrame = 4;

// One second of quiet noise at the voice's rate.
std::vector<std::int16_t> Noise(unsigned seed, DWORD rate) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> sample(-2000, 2000);
  std::vector<std::int16_t> samples(2 * rate);
  for (std::int16_t& s : samples) s = static_cast<std::int16_t>(sample(random));
  return samples;
}

WAVEFORMATEX Stereo16(DWORD rate) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.wBitsPerSample = 16;
  format.nSamplesPerSec = rate;
  format.nBlockAlign = kBytesPerFrame;
  format.nAvgBytesPerSec = rate * kBytesPerFrame;
  return format;
}

void SetAudioProcessed(benchmark::State& state) {
  state.counters["x_realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFramesPerCall / kDeviceRate,
                         benchmark::Counter::kIsRate);
}

int SdlVolume(int voice) { return SDL_MIX_MAXVOLUME - voice % 64; }

void BM_DirectSoundMixer(benchmark::State& state) {
  const auto rate = static_cast<DWORD>(state.range(0));
  WqControlSetSoundDevice(WqSoundDevice::kManual);
  CoInitialize(nullptr);
  D_IDirectSound* sound = nullptr;
  CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_ALL, IID_IDirectSound,
                   reinterpret_cast<void**>(&sound));
  sound->Initialize(nullptr);
  sound->SetCooperativeLevel(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1)),
                             D_DSSCL_PRIORITY);
  WAVEFORMATEX deviceFormat = Stereo16(kDeviceRate);
  D_DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = D_DSBCAPS_PRIMARYBUFFER;
  D_IDirectSoundBuffer* primary = nullptr;
  sound->CreateSoundBuffer(&description, &primary, nullptr);
  primary->SetFormat(&deviceFormat);

  WAVEFORMATEX voiceFormat = Stereo16(rate);
  std::vector<D_IDirectSoundBuffer*> voices;
  description.dwFlags = D_DSBCAPS_CTRLVOLUME | D_DSBCAPS_CTRLPAN | D_DSBCAPS_CTRLFREQUENCY;
  description.dwBufferBytes = rate * kBytesPerFrame;
  description.lpwfxFormat = &voiceFormat;
  for (int v = 0; v < kVoices; ++v) {
    D_IDirectSoundBuffer* buffer = nullptr;
    sound->CreateSoundBuffer(&description, &buffer, nullptr);
    void* region = nullptr;
    DWORD bytes = 0;
    buffer->Lock(0, 0, &region, &bytes, nullptr, nullptr, D_DSBLOCK_ENTIREBUFFER);
    std::memcpy(region, Noise(v, rate).data(), bytes);
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

// At the device's rate each voice's samples are mixed straight from its
// looping data.
void MixAtTheDeviceRate(benchmark::State& state) {
  std::vector<std::vector<std::int16_t>> voices;
  for (int v = 0; v < kVoices; ++v) voices.push_back(Noise(v, kDeviceRate));
  std::vector<std::int16_t> output(2 * kFramesPerCall);
  std::size_t cursor = 0;  // in frames, the same for every voice
  for (auto _ : state) {
    std::memset(output.data(), 0, output.size() * 2);
    for (int v = 0; v < kVoices; ++v) {
      SDL_MixAudioFormat(reinterpret_cast<Uint8*>(output.data()),
                         reinterpret_cast<const Uint8*>(voices[v].data() + 2 * cursor), AUDIO_S16LSB,
                         kFramesPerCall * kBytesPerFrame, SdlVolume(v));
    }
    cursor = (cursor + kFramesPerCall) % (kDeviceRate - kFramesPerCall);
    benchmark::DoNotOptimize(output.data());
  }
}

// At another rate each voice runs through a stream of its own that
// resamples to the device's rate; the stream is fed from the looping data
// as it runs short.
void MixThroughResamplingStreams(benchmark::State& state, DWORD rate) {
  constexpr std::uint32_t kFeedFrames = 512;
  struct Voice {
    std::vector<std::int16_t> samples;
    SDL_AudioStream* stream;
    std::size_t cursor;  // in frames
  };
  std::vector<Voice> voices;
  for (int v = 0; v < kVoices; ++v) {
    voices.push_back({Noise(v, rate), SDL_NewAudioStream(AUDIO_S16LSB, 2, static_cast<int>(rate), AUDIO_S16LSB, 2,
                                                        static_cast<int>(kDeviceRate)),
                      0});
    if (voices.back().stream == nullptr) {
      state.SkipWithError(SDL_GetError());
      return;
    }
  }
  constexpr int kCallBytes = kFramesPerCall * kBytesPerFrame;
  std::vector<std::int16_t> output(2 * kFramesPerCall);
  std::vector<std::int16_t> resampled(2 * kFramesPerCall);
  for (auto _ : state) {
    std::memset(output.data(), 0, output.size() * 2);
    for (int v = 0; v < kVoices; ++v) {
      Voice& voice = voices[v];
      while (SDL_AudioStreamAvailable(voice.stream) < kCallBytes) {
        SDL_AudioStreamPut(voice.stream, voice.samples.data() + 2 * voice.cursor, kFeedFrames * kBytesPerFrame);
        voice.cursor = (voice.cursor + kFeedFrames) % (rate - kFeedFrames);
      }
      SDL_AudioStreamGet(voice.stream, resampled.data(), kCallBytes);
      SDL_MixAudioFormat(reinterpret_cast<Uint8*>(output.data()), reinterpret_cast<const Uint8*>(resampled.data()),
                         AUDIO_S16LSB, kCallBytes, SdlVolume(v));
    }
    benchmark::DoNotOptimize(output.data());
  }
  for (Voice& voice : voices) SDL_FreeAudioStream(voice.stream);
}

void BM_SdlMix(benchmark::State& state) {
  const auto rate = static_cast<DWORD>(state.range(0));
  if (rate == kDeviceRate) {
    MixAtTheDeviceRate(state);
  } else {
    MixThroughResamplingStreams(state, rate);
  }
  SetAudioProcessed(state);
}

void AddVoiceRates(benchmark::internal::Benchmark* benchmark) {
  for (const DWORD rate : kVoiceRates) benchmark->Arg(rate);
}

BENCHMARK(BM_DirectSoundMixer)->Apply(AddVoiceRates);
BENCHMARK(BM_SdlMix)->Apply(AddVoiceRates);

// For each voice rate: the time per call on both sides with their ratio,
// and each side's multiple of real time.
void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\n%d voices mixed into %u Hz stereo, %u frames a call, ours vs SDL (below 1x is faster):\n", kVoices,
              kDeviceRate, kFramesPerCall);
  for (const DWORD rate : kVoiceRates) {
    const std::string arg = std::string("/").append(std::to_string(rate));
    const std::string label = std::string("voices at ").append(std::to_string(rate)).append(" Hz");
    wqbench::PrintComparison(reporter, label, "BM_DirectSoundMixer" + arg, "BM_SdlMix" + arg);
    const double ours = reporter.Counter("BM_DirectSoundMixer" + arg, "x_realtime");
    const double sdl = reporter.Counter("BM_SdlMix" + arg, "x_realtime");
    if (ours > 0 && sdl > 0) std::printf("  %-28s %.0fx real time vs %.0fx\n", "", ours, sdl);
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
