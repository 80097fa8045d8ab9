// The player: its start state before each battle, its movement by the
// arrow keys inside the playfield, its shots and its bombs.
#pragma once

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
