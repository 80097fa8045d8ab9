// Oscillators, instruments and the song renderer: chords, bass, pads,
// broken chords, a melody built from two phrases, and drums.
#include "synth.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace assetgen {

float Oscillate(Wave wave, double phase) {
  const double t = phase - std::floor(phase);
  switch (wave) {
    case Wave::Sine:
      return static_cast<float>(std::sin(t * 6.283185307179586));
    case Wave::Triangle:
      return static_cast<float>(t < 0.5 ? 4 * t - 1 : 3 - 4 * t);
    case Wave::Saw:
      return static_cast<float>(2 * t - 1);
    case Wave::Square:
      return t < 0.5 ? 0.8f : -0.8f;
  }
  return 0;
}

float MidiFrequency(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

namespace {

constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

struct Instrument {
  Wave wave;
  float detuneCents;  // a second oscillator this far above, 0 for none
  float attack, decay, sustain, release;  // seconds, seconds, level, seconds
  float cutoff;       // one-pole low-pass, Hz
  float volume;
  float pan;          // -1 left .. 1 right
  float vibrato;      // semitones
};

// A buffer that wraps: what is written past its end lands at its start.
class LoopBuffer {
 public:
  LoopBuffer(std::size_t frames, int rate, int channels)
      : frames_(frames), rate_(rate), channels_(channels), samples_(frames * channels, 0.0f) {}
  int rate() const { return rate_; }
  std::size_t frames() const { return frames_; }
  void Add(std::size_t frame, float left, float right) {
    const std::size_t at = (frame % frames_) * channels_;
    if (channels_ == 1) {
      samples_[at] += (left + right) * 0.5f;
    } else {
      samples_[at] += left;
      samples_[at + 1] += right;
    }
  }
  std::vector<float>& samples() { return samples_; }

 private:
  std::size_t frames_;
  int rate_, channels_;
  std::vector<float> samples_;
};

void PanGains(float pan, float& left, float& right) {
  const float angle = (pan + 1) * 0.785398f;
  left = std::cos(angle);
  right = std::sin(angle);
}

void AddNote(LoopBuffer& out, std::size_t offset, const Instrument& instrument, float note, double start, double duration,
             float velocity) {
  const int rate = out.rate();
  const double frequency = MidiFrequency(note), second = MidiFrequency(note + instrument.detuneCents / 100.0f);
  const std::size_t first = offset + static_cast<std::size_t>(start * rate);
  const std::size_t held = static_cast<std::size_t>(duration * rate);
  const std::size_t total = held + static_cast<std::size_t>(instrument.release * 5 * rate);
  const float attackStep = 1.0f / std::max(1.0f, instrument.attack * rate);
  const float decayFactor = std::exp(-1.0f / std::max(1.0f, instrument.decay * rate));
  const float releaseFactor = std::exp(-1.0f / std::max(1.0f, instrument.release * rate));
  const float smoothing = 1.0f - std::exp(-6.2831853f * instrument.cutoff / rate);
  float left, right;
  PanGains(instrument.pan, left, right);
  float envelope = 0, level = 0, filtered = 0;
  bool attacking = true;
  double phase = 0, phase2 = 0;
  for (std::size_t i = 0; i < total; ++i) {
    if (i < held) {
      if (attacking) {
        envelope += attackStep;
        if (envelope >= 1) {
          envelope = 1;
          attacking = false;
        }
        level = envelope;
      } else {
        level = instrument.sustain + (level - instrument.sustain) * decayFactor;
      }
    } else {
      level *= releaseFactor;
    }
    const double t = static_cast<double>(i) / rate;
    const double bend = instrument.vibrato > 0 ? std::pow(2.0, instrument.vibrato * std::sin(t * 34.5) * std::min(1.0, t * 3) / 12)
                                               : 1.0;
    phase += frequency * bend / rate;
    float sample = Oscillate(instrument.wave, phase);
    if (instrument.detuneCents != 0) {
      phase2 += second * bend / rate;
      sample = 0.5f * (sample + Oscillate(instrument.wave, phase2));
    }
    filtered += (sample - filtered) * smoothing;
    const float value = filtered * level * velocity * instrument.volume;
    out.Add(first + i, value * left, value * right);
  }
}

void AddKick(LoopBuffer& out, std::size_t offset, double start, float velocity) {
  const int rate = out.rate();
  const std::size_t first = offset + static_cast<std::size_t>(start * rate), count = rate * 3 / 10;
  double phase = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / rate;
    phase += (45 + 110 * std::exp(-t * 30)) / rate;
    const float value = static_cast<float>(std::sin(phase * 6.283185307179586) * std::exp(-t * 11)) * velocity * 0.55f;
    out.Add(first + i, value, value);
  }
}

void AddNoiseHit(LoopBuffer& out, std::size_t offset, double start, float seconds, float tone, float brightness,
                 float velocity, std::uint64_t seed) {
  const int rate = out.rate();
  const std::size_t first = offset + static_cast<std::size_t>(start * rate), count = static_cast<std::size_t>(seconds * 6 * rate);
  Random random(seed);
  float previous = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const float t = static_cast<float>(i) / rate;
    const float white = random.Range(-1, 1);
    const float bright = white - previous * (1 - brightness);  // more or less of the high end
    previous = white;
    const float body = tone > 0 ? std::sin(t * tone * 6.2831853f) * std::exp(-t * 30) : 0.0f;
    const float value = (bright * 0.6f + body * 0.5f) * std::exp(-t / seconds) * velocity;
    out.Add(first + i, value * 0.9f, value);
  }
}

// Moves a note by octaves into [low, low + 12).
int Fold(int note, int low) {
  while (note >= low + 12) note -= 12;
  while (note < low) note += 12;
  return note;
}

int ScaleNote(const Song& song, int degree) {
  const int* scale = song.major ? kMajor : kMinor;
  const int octave = static_cast<int>(std::floor(degree / 7.0));
  return song.root + scale[degree - octave * 7] + 12 * octave;
}

// Two-bar phrases of eight eighth-note steps per bar: a degree offset from
// the bar's chord, or -1 for a rest.
using Phrase = std::vector<int>;

Phrase MakePhrase(Random& random) {
  Phrase phrase(16);
  int offset = random.Below(5);
  for (int step = 0; step < 16; ++step) {
    const bool downbeat = step % 8 == 0;
    if (!downbeat && random.Uniform() < 0.3f) {
      phrase[step] = -1;
      continue;
    }
    offset = std::clamp(offset + random.Below(5) - 2, 0, 7);
    phrase[step] = offset;
  }
  return phrase;
}

void RenderSongInto(LoopBuffer& out, std::size_t offset, const Song& song) {
  const double beat = 60.0 / song.bpm, eighth = beat / 2, bar = beat * 4;
  Random random(song.seed);
  const Instrument bass{Wave::Saw, 0, 0.005f, 0.25f, 0.5f, 0.05f, 700, 0.32f, 0, 0};
  const Instrument pad{Wave::Saw, 9, 0.35f, 1.0f, 0.7f, 0.5f, 1400, 0.10f, 0, 0};
  const Instrument arp{Wave::Square, 0, 0.003f, 0.09f, 0.0f, 0.05f, 3200, 0.09f * song.arpeggio, 0.45f, 0};
  const Instrument lead{Wave::Square, 6, 0.01f, 0.4f, 0.6f, 0.12f, 2600, 0.15f * song.lead, -0.2f, 0.18f};
  Instrument echo = lead;
  echo.volume *= 0.35f;
  echo.pan = 0.5f;
  const Phrase a = MakePhrase(random), b = MakePhrase(random);
  static constexpr int kBassPattern[8] = {0, 0, 12, 0, 0, 0, 12, 7};
  const int bars = static_cast<int>(song.chords.size());
  for (int barIndex = 0; barIndex < bars; ++barIndex) {
    const double t0 = barIndex * bar;
    const int chord = song.chords[barIndex];
    const int chordRoot = ScaleNote(song, chord);
    const int chordNotes[4] = {chordRoot, ScaleNote(song, chord + 2), ScaleNote(song, chord + 4), chordRoot + 12};
    // Bass and pad.
    for (int step = 0; step < 8; step += song.halfTimeBass ? 2 : 1) {
      AddNote(out, offset, bass, static_cast<float>(chordRoot - 24 + kBassPattern[step]), t0 + step * eighth,
              eighth * (song.halfTimeBass ? 1.8 : 0.85), step % 2 == 0 ? 1.0f : 0.8f);
    }
    for (int n = 0; n < 3; ++n) AddNote(out, offset, pad, static_cast<float>(chordNotes[n]), t0, bar * 0.95, 1.0f);
    // Broken chords in sixteenths.
    if (song.arpeggio > 0) {
      static constexpr int kArpOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
      for (int step = 0; step < 16; ++step) {
        AddNote(out, offset, arp, static_cast<float>(Fold(chordNotes[kArpOrder[step % 8]], 67) + (kArpOrder[step % 8] == 3 ? 12 : 0)), t0 + step * eighth / 2,
                eighth / 2, step % 4 == 0 ? 1.0f : 0.7f);
      }
    }
    // The melody: phrases A A B A over each eight bars.
    if (song.lead > 0) {
      const int section = (barIndex / 2) % 4;
      const Phrase& phrase = section == 2 ? b : a;
      const int half = barIndex % 2;
      for (int step = 0; step < 8; ++step) {
        const int degree = phrase[half * 8 + step];
        if (degree < 0) continue;
        int length = 1;
        while (step + length < 8 && length < 4 && phrase[half * 8 + step + length] < 0) ++length;
        const int raw = ScaleNote(song, chord + degree) + 12;
        const float note = static_cast<float>(raw > 88 ? raw - 12 : raw);  // not shrill
        AddNote(out, offset, lead, note, t0 + step * eighth, eighth * length * 0.9, 1.0f);
        AddNote(out, offset, echo, note, t0 + (step + 3) * eighth, eighth * length * 0.9, 1.0f);
      }
    }
    // Drums.
    if (song.drums > 0) {
      const std::uint64_t seed = song.seed * 1000 + barIndex;
      for (int step = 0; step < 8; ++step) {
        const double t = t0 + step * eighth;
        if (step == 0 || step == 4 || (song.drums > 0.5f && step == 5)) AddKick(out, offset, t, song.drums);
        if (step == 2 || step == 6) AddNoiseHit(out, offset, t, 0.06f, 185, 0.7f, 0.35f * song.drums, seed + step);
        AddNoiseHit(out, offset, t, 0.012f, 0, 0.05f, (step % 2 ? 0.16f : 0.1f) * song.drums, seed + 50 + step);
      }
      if (barIndex % 8 == 7) {
        for (int s = 0; s < 4; ++s) {
          AddNoiseHit(out, offset, t0 + 3 * beat + s * eighth / 2, 0.05f, 200, 0.7f, 0.2f * song.drums * (1 + s * 0.2f),
                      seed + 90 + s);
        }
      }
    }
  }
}

std::size_t SongFrames(const Song& song, int rate) {
  return static_cast<std::size_t>(song.chords.size() * 4 * 60.0 / song.bpm * rate);
}

SoundBuffer Finish(LoopBuffer& buffer, int rate, int channels) {
  std::vector<float>& samples = buffer.samples();
  float peak = 0;
  for (float s : samples) peak = std::max(peak, std::abs(s));
  const float gain = peak > 0 ? 0.89f / peak : 1.0f;
  for (float& s : samples) s *= gain;
  return {channels, rate, std::move(samples)};
}

}  // namespace

SoundBuffer RenderSong(const Song& song, int rate, int channels) {
  LoopBuffer buffer(SongFrames(song, rate), rate, channels);
  RenderSongInto(buffer, 0, song);
  return Finish(buffer, rate, channels);
}

SoundBuffer RenderMedley(const std::vector<Song>& songs, int rate, int channels) {
  std::size_t total = 0;
  for (const Song& song : songs) total += SongFrames(song, rate);
  LoopBuffer buffer(total, rate, channels);
  std::size_t offset = 0;
  for (const Song& song : songs) {
    RenderSongInto(buffer, offset, song);
    offset += SongFrames(song, rate);
  }
  return Finish(buffer, rate, channels);
}

}  // namespace assetgen
