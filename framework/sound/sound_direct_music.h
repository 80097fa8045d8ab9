// The DirectMusic music mode's start and end.
#pragma once

// StartDirectMusic's answer when DirectMusic is missing: the music mode is
// then 0 and start-up goes on with DirectSound alone.
constexpr int kFallBackToDirectSound = 1;

// 0 with the performance's DirectSound object made, -1 on failure.
int StartDirectMusic();
// Stops and closes the performance and releases it and the loader.
void EndDirectMusic();
