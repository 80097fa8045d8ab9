// Drawing a part of a graph: at a point, through a narrowed draw area, or
// stretched, through a temporary graph that shows the part.
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
// clipping alike; the viewport and the empty-area flag stay as they are.
int DrawGraphRect(int x, int y, int srcX, int srcY, int width, int height, int graph, int trans, int turn) {
  const RECT savedArea = DrawArea;
  float savedAreaF[4];
  for (int i = 0; i < 4; ++i) savedAreaF[i] = DrawAreaF[i];
  RECT part{x, y, x + width, y + height};
  ClipRect(&part, &savedArea);
  SetDrawAreaOnly(part);
  int result = -1;
  if (turn == 0) {
    result = DrawGraph(x - srcX, y - srcY, graph, trans);
  } else if (const GraphRecord* record = FindGraphRecord(graph)) {
    result = DrawGraphTurned(x - record->width + srcX + width, y - srcY, graph, trans);
  }
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
