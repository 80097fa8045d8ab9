// Waits on a screen the frame has drawn: the screen is presented first, so
// the player sees what the game waits on, and the frame loop presents it
// again after the wait.
#pragma once

void ShowAndWaitAnyKey();
void ShowAndWaitMilliseconds(int ms);
