// Graphs made from base images and from image files.
#pragma once

#include "WqLib.h"

// A graph of the image's size, without pixels; -1 when graphics are not
// started or the alpha image's size differs.
int CreateGraphFromImageInfo(BaseImage* image, BaseImage* alpha, int flag);
// A graph holding the image (and its alpha image), which keeps a copy of
// them to fill the graph again after a device rebuild; handle or -1.
int CreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int flag);
// A graph of the movie's frame size that shows the movie opened from the
// file (its frame follows the movie at every draw); handle or -1.
int LoadMovieGraph(const char* fileName, int movieParam);
// A graph showing (x, y, width, height) of `source`'s image, sharing it;
// the size is cut at the source's right and bottom edges. -1 for a bad
// source, a corner outside it or a side below 1; 0 while drawing is
// suspended.
int DeriveGraph(int x, int y, int width, int height, int source);
// Cuts the picture into `total` graphs of width x height, row by row,
// `down` rows of `across`; 0 or -1 (no handle is left alive on failure).
// The pieces share one kept copy of the picture.
int CreateDivGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width,
                                 int height, int* handles, int flag);
