// Sound synthesis: oscillators, noise and envelopes written into sample
// buffers, and the song renderer the music pieces are made with.
#pragma once

#include <cstdint>
#include <vector>

#include "encoders.h"

namespace assetgen {

enum class Wave { Sine, Triangle, Saw, Square };

float Oscillate(Wave wave, double phase);  // phase in cycles
float MidiFrequency(float note);

// A song: a chord per bar, and the parts that play over it. The song loops:
// notes that ring past its end continue at its start.
struct Song {
  std::uint32_t seed;
  float bpm;
  int root;                  // MIDI note of the key
  bool major;
  std::vector<int> chords;   // scale degree (0..6) of each bar's chord
  float drums;               // 0: none, 1: full kit
  float lead;                // loudness of the melody
  float arpeggio;            // loudness of the broken chords
  bool halfTimeBass;         // quarter notes instead of eighths
};

// Renders the song (every bar of it) as a seamless loop.
SoundBuffer RenderSong(const Song& song, int rate, int channels);
// Songs one after the other, the whole also a seamless loop.
SoundBuffer RenderMedley(const std::vector<Song>& songs, int rate, int channels);

}  // namespace assetgen
