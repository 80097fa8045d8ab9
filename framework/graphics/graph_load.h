// Graphs made from base images and from image files.
#pragma once

#include "WqLib.h"

// A graph of the image's size, without pixels; -1 when graphics are not
// started or the alpha image's size differs.
int CreateGraphFromImageInfo(BaseImage* image, BaseImage* alpha, int flag);
// A graph holding the image (and its alpha image); handle or -1.
int CreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int flag);
// Keeps the graph's source file name (shared with the graphs cut from it).
int SetGraphFileName(int handle, const char* fileName);
