// The picture a graph without a file keeps, so that its pixels come back
// after the device is rebuilt.
#pragma once

#include "graphics/graph_record.h"

// Keeps copies of the whole picture (and its alpha image) as the image
// information's kept picture, replacing any kept before; 0 or -1.
int KeepWholePicture(GraphImageInfo* info, BaseImage* image, BaseImage* alpha);
// Puts the picture that now fills the graph into its image information's
// kept picture at the graph's place, making one (cleared) when there is
// none; a graph that is its whole image replaces it. 0 or -1.
int KeepGraphPicture(GraphRecord* record, BaseImage* image, BaseImage* alpha);
void FreeKeptPicture(GraphImageInfo* info);
