// The sound subsystem's other tables and services that start and end
// with it: music handles, software-sound data and players, the capture
// file, and the capability report.
#pragma once

#include <cstdint>

constexpr int kMusicHandleKind = 0x40000000;
constexpr int kSoftSoundHandleKind = 0x68000000;

int DeleteAllMusicHandles();
int DeleteAllSoftSoundData();
int DeleteAllSoftSoundPlayers();
// Writes the header of the WAV capture file and closes it; -1 when no
// capture runs.
int FinishSoundCaptureFile();
// Removes the temporary MIDI file of MCI music, when one exists.
void DeleteTemporaryMidiFile();
void LogDirectSoundCapabilities();
