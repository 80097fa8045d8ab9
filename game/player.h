// The player: its start state before each battle, its movement by the
// arrow keys inside the playfield, its shots and its bombs.
#pragma once

// The player's step per frame, and the step back taken before it while
// the slow key is held.
inline constexpr double kPlayerSpeed = 6.5;
inline constexpr double kPlayerSlowBackStep = 3.5;
// The player's box, in whole pixels.
inline constexpr int kPlayerWidth = 38;
inline constexpr int kPlayerHeight = 49;
// The point in the box that enemy bullets hit: its middle, in whole pixels.
inline constexpr double kPlayerHitOffsetX = kPlayerWidth / 2;
inline constexpr double kPlayerHitOffsetY = kPlayerHeight / 2;

// Loads the player's, the shot's and the background's pictures and puts
// the player at its start place with full HP.
void ResetPlayer();
// Moves the player one step in at most one of eight directions.
void MovePlayer();
// Holds the player's box inside the playfield.
void ClampPlayer();
// Fires a volley every third frame that the shoot key is held, and drops a
// bomb when the bomb key is pressed with a bomb left.
void FirePlayerShots();
