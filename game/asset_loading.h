// The sounds, loaded once at start-up, and the explosion strip.
#pragma once

void LoadSounds();
// The 16 frames of the explosion strip into explosionFrames.
void LoadEffectGraphs();
