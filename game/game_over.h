// The game-over music.
#pragma once

// Stops every piece of music and starts the game-over jingle, looping,
// once per game.
void StartGameOverMusic();
