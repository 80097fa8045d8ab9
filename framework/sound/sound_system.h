// The sound subsystem's entry points that the framework's core calls:
// start and end, the per-frame stream refill and software mixing, the music
// state poll and the MCI notification.
#pragma once

#include "platform/windows.h"

int InitializeDirectSound();
int TerminateDirectSound();
// Library end: deletes the kept sound or music handle, when one is set.
int TerminateSoundData();
int ProcessAllStreamSounds();
int UpdateSoftSoundPlayers();
int UpdateMusicPlayState();
int HandleMusicMciNotify(WPARAM wParam, LPARAM lParam);
