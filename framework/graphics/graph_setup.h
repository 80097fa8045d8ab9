// Giving a new graph its storage: texture pieces on the device or a MEMIMG
// on the software screen, and the per-piece drawing information.
#pragma once

#include "graphics/graph_creation_settings.h"
#include "graphics/graph_record.h"

// Storage for a graph of the size; mipLevels -1 takes the default. -1 with
// the graph deleted on failure.
int SetupGraphRecord(int mipLevels, int handle, int width, int height, int alphaFlag, int alphaTestFlag);
// The graph's pieces (device) or its view of the image (software).
int CreateGraphTextureDrawInfo(int handle);
int CreateGraphTextures(GraphImageInfo* info);
// The image's MEMIMG for the software screen at its size and the colour
// bits (16 or 32), the info's flags set to match; 0 or -1 (logged).
int CreateSoftwareImage(GraphImageInfo* info, int colorBits);
void ReleaseImageInfoTextures(GraphImageInfo* info);
