#include "sound/sound_placeholders.h"

int InitializeDirectSound() { return 0; }
int TerminateDirectSound() { return 0; }
int TerminateSoundData() { return 0; }
int ProcessAllStreamSounds() { return 0; }
int UpdateSoftSoundPlayers() { return 0; }
int UpdateMusicPlayState() { return 0; }
int HandleMusicMciNotify(WPARAM, LPARAM) { return 0; }
