// Copying an image rectangle into an existing graph: into its textures on
// the device (every mip level) or into its MEMIMG on the software screen.
#pragma once

#include "WqLib.h"
#include "platform/wintypes.h"

// Copies `source` (left, top, right, bottom) of `image` (with its optional
// `alpha` companion) into the graph at (x, y): whole-image coordinates when
// `wholeImage` is 1, else relative to the graph. The colour key becomes
// transparent when `useTransparentColor` is set and the graph has alpha.
// A compressed image is decompressed in place first on the device.
// 0 (also for an empty rectangle) or -1.
int TransferImageToGraph(int graph, const RECT& source, int x, int y, BaseImage* image, const BaseImage* alpha,
                         int useTransparentColor, int wholeImage);
