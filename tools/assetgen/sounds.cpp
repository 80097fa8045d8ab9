// The sound table: five effects synthesised sample by sample, and the
// music pieces as songs. The stage 6 medley runs past three minutes, so the
// game streams it; the stage 1 piece is a WAV file as the game names it.
#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "noise.h"
#include "synth.h"

namespace assetgen {
namespace {

constexpr int kEffectRate = 44100;
constexpr int kMusicRate = 44100;
constexpr int kWavMusicRate = 22050;
constexpr int kMedleyRate = 32000;

// An effect: samples made by a function of time (seconds) and a noise
// source, over the given length.
template <typename Voice>
SoundBuffer Effect(float seconds, std::uint64_t seed, Voice voice) {
  SoundBuffer sound{1, kEffectRate, {}};
  const std::size_t count = static_cast<std::size_t>(seconds * kEffectRate);
  sound.samples.resize(count);
  Random random(seed);
  for (std::size_t i = 0; i < count; ++i) {
    const float t = static_cast<float>(i) / kEffectRate;
    const float fadeOut = std::min(1.0f, (seconds - t) * 50);  // no click at the end
    sound.samples[i] = voice(t, random.Range(-1, 1)) * fadeOut;
  }
  // Loud effects are brought down to leave headroom, never clipped.
  float peak = 0;
  for (float s : sound.samples) peak = std::max(peak, std::abs(s));
  if (peak > 0.9f) {
    for (float& s : sound.samples) s *= 0.9f / peak;
  }
  return sound;
}

// A low-pass filter whose cutoff the caller moves sample by sample.
struct LowPass {
  float state = 0;
  float operator()(float in, float cutoff) {
    state += (in - state) * (1.0f - std::exp(-6.2831853f * cutoff / kEffectRate));
    return state;
  }
};

SoundBuffer CursorBlip() {
  double phase = 0;
  return Effect(0.16f, 1, [&](float t, float) {
    phase += (t < 0.06f ? 988.0 : 1319.0) / kEffectRate;
    const float since = t < 0.06f ? t : t - 0.06f;
    return Oscillate(Wave::Square, phase) * 0.45f * std::exp(-since * 25);
  });
}

SoundBuffer HitCrack() {
  double phase = 0;
  LowPass filter;
  return Effect(0.3f, 2, [&](float t, float noise) {
    phase += (80 + 260 * std::exp(-t * 18)) / kEffectRate;
    return filter(noise, 5000) * 0.7f * std::exp(-t * 28) + Oscillate(Wave::Triangle, phase) * 0.6f * std::exp(-t * 12);
  });
}

SoundBuffer WarpSweep() {
  double phase = 0;
  return Effect(0.7f, 3, [&](float t, float) {
    const float sweep = t < 0.3f ? 200 + 3300 * t : 1190 - 1300 * (t - 0.3f);
    phase += (sweep * (1 + 0.08f * std::sin(t * 260))) / kEffectRate;
    const float envelope = std::min(1.0f, t * 40) * (1 - t / 0.7f);
    return (Oscillate(Wave::Sine, phase) + 0.3f * Oscillate(Wave::Triangle, phase * 2)) * 0.5f * envelope *
           (0.75f + 0.25f * std::sin(t * 120));
  });
}

SoundBuffer BreakBlast() {
  double phase = 0;
  LowPass filter;
  return Effect(1.2f, 4, [&](float t, float noise) {
    phase += (42 + 60 * std::exp(-t * 8)) / kEffectRate;
    const float rumble = filter(noise, 200 + 3500 * std::exp(-t * 5)) * 1.6f * std::exp(-t * 3.5f);
    return rumble + Oscillate(Wave::Sine, phase) * 0.7f * std::exp(-t * 4);
  });
}

SoundBuffer BombBurst() {
  double boom = 0, shimmer = 0;
  LowPass filter;
  return Effect(1.6f, 5, [&](float t, float noise) {
    const float whoosh = t < 0.25f ? filter(noise, 300 + 12000 * t) * t * 3.2f : 0.0f;
    const float after = std::max(0.0f, t - 0.25f);
    if (t >= 0.25f) filter(noise, 0);
    boom += (38 + 90 * std::exp(-after * 10)) / kEffectRate;
    shimmer += (1760 + 40 * std::sin(t * 40)) / kEffectRate;
    const float blast = t >= 0.25f ? (noise * 0.5f * std::exp(-after * 6) + Oscillate(Wave::Sine, boom) * 0.8f * std::exp(-after * 3))
                                   : 0.0f;
    return whoosh + blast + Oscillate(Wave::Sine, shimmer) * 0.12f * std::exp(-after * 2) * (t >= 0.25f);
  });
}

std::vector<int> Repeat(const std::vector<int>& chords, int times) {
  std::vector<int> out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), chords.begin(), chords.end());
  return out;
}

// Each piece has a key, a tempo and a progression of its own.
const Song kStage1{134, 150, 57, false, Repeat({0, 5, 2, 6}, 4), 1.0f, 1.0f, 1.0f, false};
const Song kStage2{209, 160, 62, false, Repeat({0, 6, 5, 4, 0, 3, 5, 4}, 3), 1.0f, 1.0f, 0.8f, false};
const Song kStage3{315, 140, 64, false, Repeat({0, 3, 6, 2, 5, 3, 4, 4}, 3), 0.8f, 1.0f, 1.0f, false};
const Song kStage4{414, 172, 60, false, Repeat({0, 0, 5, 6, 3, 3, 4, 4}, 4), 1.0f, 0.9f, 1.0f, false};
const Song kStage5{507, 156, 66, false, Repeat({0, 5, 3, 4, 0, 5, 1, 4}, 4), 1.0f, 1.0f, 0.9f, false};
const Song kTitle{611, 96, 55, true, Repeat({0, 4, 5, 3, 0, 4, 3, 4}, 2), 0.0f, 0.8f, 0.7f, true};
const Song kGameOver{908, 72, 57, false, {5, 3, 4, 0}, 0.0f, 0.9f, 0.0f, true};

std::vector<Song> MedleySections() {
  return {
      {902, 150, 57, false, Repeat({0, 5, 2, 6}, 6), 1.0f, 1.0f, 1.0f, false},
      {903, 160, 62, false, Repeat({0, 6, 5, 4}, 6), 1.0f, 1.0f, 0.8f, false},
      {904, 140, 64, false, Repeat({0, 3, 6, 2}, 6), 0.8f, 1.0f, 1.0f, false},
      {905, 172, 60, false, Repeat({0, 5, 6, 4}, 6), 1.0f, 0.9f, 1.0f, false},
      {906, 156, 66, false, Repeat({0, 5, 3, 4}, 6), 1.0f, 1.0f, 0.9f, false},
      {907, 120, 59, true, Repeat({0, 4, 5, 3}, 4), 0.7f, 1.0f, 1.0f, true},
  };
}

std::function<Bytes()> OggSong(const Song& song) {
  return [song] { return EncodeOgg(RenderSong(song, kMusicRate, 2), 0.1f); };
}

}  // namespace

std::vector<AssetFile> SoundFiles() {
  return {
      {u8"Sound/BGM/game_vorlenta_9_medley02.ogg",
       [] { return EncodeOgg(RenderMedley(MedleySections(), kMedleyRate, 1), 0.0f); }},
      {u8"Sound/SE/cursor04.wav", [] { return EncodeWav(CursorBlip()); }},
      {u8"Sound/SE/hit68.wav", [] { return EncodeWav(HitCrack()); }},
      {u8"Sound/SE/warp02.wav", [] { return EncodeWav(WarpSweep()); }},
      {u8"Sound/SE/power11.wav", [] { return EncodeWav(BreakBlast()); }},
      {u8"Sound/SE/power32.wav", [] { return EncodeWav(BombBurst()); }},
      {u8"Sound/BGM/game_vorlenta_1_battle34.wav", [] { return EncodeWav(RenderSong(kStage1, kWavMusicRate, 2)); }},
      {u8"Sound/BGM/game_vorlenta_1_battle09.ogg", OggSong(kStage2)},
      {u8"Sound/BGM/game_vorlenta_1_battle15.ogg", OggSong(kStage3)},
      {u8"Sound/BGM/game_vorlenta_1_battle14.ogg", OggSong(kStage4)},
      {u8"Sound/BGM/game_vorlenta_2_boss07.ogg", OggSong(kStage5)},
      {u8"Sound/BGM/game_vorlenta_4_field11.ogg", OggSong(kTitle)},
      {u8"Sound/BGM/game_vorlenta_9_jingle08.ogg", OggSong(kGameOver)},
  };
}

}  // namespace assetgen
