// Waits on a screen the game has just drawn. The framework's waits present
// nothing, so the screen is presented first: the player sees what the game
// waits on (the end picture, game over, the stage clear, the staff pages).
#pragma once

// Presents the back screen, then waits for a key.
void ShowAndWaitAnyKey();
// Presents the back screen, then waits `ms` milliseconds.
void ShowAndWaitMilliseconds(int ms);
