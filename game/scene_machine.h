// The scene machine: one step of the current scene per frame.
#pragma once

inline constexpr int SCENE_COUNT = 30;
inline constexpr int SCENE_GAME_OVER = 29;

// Runs the current scene's steps once. A scene number outside 0..29 (the
// -1 that game over leaves) becomes 0 and nothing else happens this frame.
void RunScene();
