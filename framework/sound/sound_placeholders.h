// Sound entry points the core calls, standing until the sound subsystem is
// built.
#pragma once

#include "platform/windows.h"

int InitializeDirectSound();
int TerminateDirectSound();
int TerminateSoundData();
int ProcessAllStreamSounds();
int UpdateSoftSoundPlayers();
int UpdateMusicPlayState();
int HandleMusicMciNotify(WPARAM wParam, LPARAM lParam);
