// Questions about graph handles: whether one is live, a graph's (or the
// screen's) size, and whether the blend graph covers a graph.
#include "WqLib.h"
#include "graphics/draw_sequence.h"
#include "graphics/draw_target.h"

int IsGraphHandleValid(int handle) { return FindGraphRecord(handle) != nullptr ? 1 : 0; }

int GetGraphSize(int handle, int* width, int* height) {
  int w = 0, h = 0;
  if (handle == kBackScreen || handle == kFrontScreen) {
    GetScreenSize(&w, &h);
  } else if (const GraphRecord* record = FindGraphRecord(handle)) {
    w = record->width;
    h = record->height;
  } else {
    return -1;
  }
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
  return 0;
}

int CheckBlendGraphSize(const GraphRecord* graph) {
  const GraphRecord* blend = FindGraphRecord(BlendGraph);
  if (blend == nullptr || blend->width < graph->width || blend->height < graph->height) return -1;
  return 0;
}
