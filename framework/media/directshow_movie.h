// The DirectShow side of a movie handle, for files the Theora player does
// not take: building the filter graph and running, pausing, following and
// releasing it.
#pragma once

#include "media/movie_record.h"

// Builds the filter graph for the file; 0, or -1 after logging.
int OpenDirectShowMovie(MovieRecord* record, const char* path, int* width, int* height, int outputMode);
// Hands a new frame to the callback and restarts or stops the movie at its
// end.
void UpdateDirectShowMovie(MovieRecord* record);
// 0 when the graph was paused, -1 when it has no control to pause with.
int PauseDirectShowMovie(MovieRecord* record);
void RunDirectShowMovie(MovieRecord* record);
// Deletes the temporary copy, frees the frame buffer and releases the
// graph's interfaces.
void ReleaseDirectShowMovie(MovieRecord* record);
