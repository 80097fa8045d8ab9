// The on-screen log overlay drawn over the screen at each present. Nothing in this program enables it or writes its lines; start-up
// sets it up and shutdown releases its font.
#pragma once

// Sets up once; -1 before graphics are started or without a main window.
int SetupScreenLog();
// Creates the overlay font when it is lost; returns 0.
int CreateScreenLogFont();
// Deletes the overlay font and forgets the set-up (start of shutdown).
void ReleaseScreenLog();
// The enable flag: the present draws the overlay only when it is set.
int GetScreenLogFlag();
