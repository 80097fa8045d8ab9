// Graphs made from base images and from image files: what the graph code
// shares beyond the public functions of WqLib.h.
#pragma once

#include "WqLib.h"

// A graph holding the picture (and its alpha image); with keepPixels, for a
// picture that has no file to be read again from, the graph's image keeps
// a copy to be filled from after a device rebuild. Handle or -1.
int MakePictureGraph(BaseImage* image, BaseImage* alpha, int flag, bool keepPixels);
// Makes one graph of the picture and cuts it into `total` graphs of width x
// height, row by row, `down` rows of `across` (from the right-hand column
// with reverse 1; the picture mirrored for the cut with reverse and
// reverseHere both 1). The number of handles written, or -1, when no
// handle is left alive.
int CutPictureIntoGraphs(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width, int height,
                         int* handles, int flag, int reverse, int reverseHere, bool keepPixels);
