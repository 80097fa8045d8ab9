// Drawing a part of a graph: at a point, through a narrowed draw area, or
// stretched, through a temporary graph that shows the part.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "WqLib.h"
#include "core/base/math_utils.h"
#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/render_state.h"

namespace {

void SetDrawAreaOnly(const RECT& area) {
  DrawArea = area;
  DrawAreaF[0] = static_cast<float>(area.left);
  DrawAreaF[1] = static_cast<float>(area.top);
  DrawAreaF[2] = static_cast<float>(area.right);
  DrawAreaF[3] = static_cast<float>(area.bottom);
}

}  // namespace

// The area is narrowed for the software kernels and the device path's own
// clipping alike; the viewport and the empty-area flag stay as they are. A
// part that leaves nothing of the area, or whose place lies beyond int
// coordinates, draws nothing.
int DrawGraphRect(int x, int y, int srcX, int srcY, int width, int height, int graph, int trans, int turn) {
  const GraphRecord* record = FindGraphRecord(graph);
  // A handle that is not a graph's gives the draw's own early result.
  if (record == nullptr) return turn == 0 ? DrawGraph(0, 0, graph, trans) : -1;
  const std::int64_t left = std::int64_t{x} - srcX, top = std::int64_t{y} - srcY;
  const std::int64_t turnedLeft = std::int64_t{x} - record->width + srcX + width;
  const std::int64_t drawLeft = turn == 0 ? left : turnedLeft;
  if (drawLeft < INT_MIN || drawLeft > INT_MAX || top < INT_MIN || top > INT_MAX) return 0;
  RECT part{x, y, static_cast<int>(std::clamp<std::int64_t>(std::int64_t{x} + width, INT_MIN, INT_MAX)),
            static_cast<int>(std::clamp<std::int64_t>(std::int64_t{y} + height, INT_MIN, INT_MAX))};
  ClipRect(&part, &DrawArea);
  if (part.right <= part.left || part.bottom <= part.top) return 0;
  const RECT savedArea = DrawArea;
  float savedAreaF[4];
  for (int i = 0; i < 4; ++i) savedAreaF[i] = DrawAreaF[i];
  SetDrawAreaOnly(part);
  const int result = turn == 0 ? DrawGraph(static_cast<int>(drawLeft), static_cast<int>(top), graph, trans)
                               : DrawGraphTurned(static_cast<int>(drawLeft), static_cast<int>(top), graph, trans);
  DrawArea = savedArea;
  for (int i = 0; i < 4; ++i) DrawAreaF[i] = savedAreaF[i];
  return result;
}

// -1 only for a handle that is not a live graph; a part that cannot be cut
// or drawn is not reported.
int DrawGraphRectStretchedF(float x1, float y1, float x2, float y2, int srcX, int srcY, int width, int height,
                            int graph, int trans) {
  if (FindGraphRecord(graph) == nullptr) return -1;
  const int part = DeriveGraph(srcX, srcY, width, height, graph);
  if (part < 0) return 0;
  DrawGraphStretchedF(x1, y1, x2, y2, part, trans);
  DeleteGraph(part);
  return 0;
}
