// The software draw path of the public graph draws: a graph held in a
// MEMIMG drawn into the draw target's MEMIMG by the software kernels, with
// the blend image of the blend graph. Clipping, blend mode, brightness and
// transparency are the kernels' work, read from the render state.
#pragma once

#include "graphics/graph_record.h"

// Each returns 0; the caller has validated the graph.
int SoftDrawGraph(int x, int y, GraphRecord* graph, int trans);
// Corners as given: x1 > x2 or y1 > y2 mirrors that axis.
int SoftDrawGraphStretched(int x1, int y1, int x2, int y2, GraphRecord* graph, int trans);
// About the centre truncated toward zero; angle and scale in single precision.
int SoftDrawGraphRotated(float x, float y, double scale, double angle, GraphRecord* graph, int trans, int turn);
// Corners top-left, top-right, bottom-left, bottom-right: two triangles
// sharing the edge from top-right to bottom-left.
int SoftDrawGraphQuad(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* graph, int trans);
int SoftDrawGraphQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                       GraphRecord* graph, int trans);
