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
void ReleaseImageInfoTextures(GraphImageInfo* info);
