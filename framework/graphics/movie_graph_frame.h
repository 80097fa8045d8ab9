// The frame callback of movie graphs.
#pragma once

#include "media/movie_record.h"

// Copies the movie's current frame into its graph (`graph` is the graph
// handle) when the frame changed since the last copy.
void UpdateMovieGraphFrame(MovieRecord* record, int graph);
