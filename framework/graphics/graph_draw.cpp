// The public graph draws: at a point, stretched, mirrored, rotated and onto
// four corners. Each converts its arguments and goes through the common
// draw sequence to the Direct3D path or the software path. Numbers that
// are not finite, and graphs whose far edge lies past the largest int,
// draw nothing on either path (the software path would take them for the
// smallest int, the device for no vertex at all).
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "WqLib.h"
#include "core/base/math_utils.h"
#include "graphics/draw_sequence.h"
#include "graphics/soft_draw.h"

namespace {

// The rectangle of a stretched draw with its corners sorted.
RECT SortedRect(int x1, int y1, int x2, int y2) {
  return RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

int DrawStretched(int x1, int y1, int x2, int y2, float fx1, float fy1, float fx2, float fy2, int graph, int trans,
                  int integerPlacement) {
  return RunGraphDraw(
      graph, [&](const GraphRecord&) { return SortedRect(x1, y1, x2, y2); },
      [&](GraphRecord* record) {
        return G_D3D_DrawGraphStretched(record, x1, y1, x2, y2, fx1, fy1, fx2, fy2, trans, integerPlacement);
      },
      [&](GraphRecord* record) { return SoftDrawGraphStretched(x1, y1, x2, y2, record, trans); });
}

// The box of the graph's corners turned and scaled about the centre, with
// a margin of five pixels for the device's rounding.
RECT RotatedBox(const GraphRecord& record, int centreX, int centreY, double scale, double angle) {
  const double halfW = record.width / 2, halfH = record.height / 2;
  const double sine = std::sin(angle), cosine = std::cos(angle);
  double box[4] = {1e300, 1e300, -1e300, -1e300};
  for (const double dx : {-halfW, halfW}) {
    for (const double dy : {-halfH, halfH}) {
      const double x = (dx * cosine - dy * sine) * scale + centreX;
      const double y = (dx * sine + dy * cosine) * scale + centreY;
      box[0] = std::min(box[0], x);
      box[1] = std::min(box[1], y);
      box[2] = std::max(box[2], x);
      box[3] = std::max(box[3], y);
    }
  }
  const double widened[4] = {box[0] - 5.0, box[1] - 5.0, box[2] + 5.0, box[3] + 5.0};
  int rect[4];
  Double4ToInt4(widened, rect);
  return RECT{rect[0], rect[1], rect[2], rect[3]};
}

// The box of the four corners, right and bottom exclusive (a corner's own
// pixel can be drawn, so the edges lie one past the largest corner); they
// never fall below 1.
RECT QuadBox(const int (&corners)[8]) {
  RECT box{0xFFFFFF, 0xFFFFFF, 0, 0};
  for (int i = 0; i < 8; i += 2) {
    box.left = std::min<LONG>(box.left, corners[i]);
    box.top = std::min<LONG>(box.top, corners[i + 1]);
    box.right = std::max<LONG>(box.right, corners[i]);
    box.bottom = std::max<LONG>(box.bottom, corners[i + 1]);
  }
  ++box.right;
  ++box.bottom;
  return box;
}

// For a draw that can show nothing (a corner beyond int coordinates, or a
// number that is not finite): the early results and the checks of every
// draw, and no pixel.
int DrawNothing(int graph) {
  const auto none = [](GraphRecord*) { return 0; };
  return RunGraphDraw(graph, [](const GraphRecord&) { return RECT{0, 0, 0, 0}; }, none, none);
}

bool AllFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// A graph placed with its left or top edge at `at` whose far edge lies
// past the largest int lies wholly beyond any draw area.
bool FarEdgeOverflows(int at, int size) { return std::int64_t{at} + size > INT_MAX; }

}  // namespace

int DrawGraph(int x, int y, int graph, int trans) {
  if (!WindowSystem().initialised) return -1;
  if (const GraphRecord* record = FindGraphRecord(graph);
      record != nullptr && (FarEdgeOverflows(x, record->width) || FarEdgeOverflows(y, record->height)))
    return DrawNothing(graph);
  return RunGraphDraw(
      graph,
      [&](const GraphRecord& record) {
        return RECT{x, y, x + record.width, y + record.height};
      },
      [&](GraphRecord* record) {
        return G_D3D_DrawGraph(record, x, y, static_cast<float>(x), static_cast<float>(y), trans, 1);
      },
      [&](GraphRecord* record) { return SoftDrawGraph(x, y, record, trans); });
}

int DrawGraphStretched(int x1, int y1, int x2, int y2, int graph, int trans) {
  return DrawStretched(x1, y1, x2, y2, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                       static_cast<float>(y2), graph, trans, 1);
}

int DrawGraphStretchedF(float x1, float y1, float x2, float y2, int graph, int trans) {
  if (!AllFinite({x1, y1, x2, y2})) return DrawNothing(graph);
  return DrawStretched(FloatToInt(x1), FloatToInt(y1), FloatToInt(x2), FloatToInt(y2), x1, y1, x2, y2, graph, trans, 0);
}

int DrawGraphTurned(int x, int y, int graph, int trans) {
  const GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  if (FarEdgeOverflows(x, record->width) || FarEdgeOverflows(y, record->height)) return DrawNothing(graph);
  return DrawGraphStretched(x + record->width, y, x, y + record->height, graph, trans);
}

int DrawGraphRotated(int x, int y, double scale, double angle, int graph, int trans, int turn) {
  return DrawGraphRotatedF(static_cast<float>(x), static_cast<float>(y), scale, angle, graph, trans, turn);
}

int DrawGraphRotatedF(float x, float y, double scale, double angle, int graph, int trans, int turn) {
  if (!AllFinite({x, y, scale, angle})) return DrawNothing(graph);
  const int centreX = FloatToInt(x), centreY = FloatToInt(y);
  return RunGraphDraw(
      graph, [&](const GraphRecord& record) { return RotatedBox(record, centreX, centreY, scale, angle); },
      [&](GraphRecord* record) { return G_D3D_DrawGraphRotated(record, x, y, scale, angle, trans, turn); },
      [&](GraphRecord* record) { return SoftDrawGraphRotated(x, y, scale, angle, record, trans, turn); });
}

// Corners come clockwise from the top-left; the paths take them row by row.
int DrawGraphQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int graph,
                   int trans) {
  if (!AllFinite({x1, y1, x2, y2, x3, y3, x4, y4})) return DrawNothing(graph);
  return RunGraphDraw(
      graph,
      [&](const GraphRecord&) {
        const int corners[8] = {FloatToInt(x1), FloatToInt(y1), FloatToInt(x2), FloatToInt(y2),
                                FloatToInt(x3), FloatToInt(y3), FloatToInt(x4), FloatToInt(y4)};
        return QuadBox(corners);
      },
      [&](GraphRecord* record) { return G_D3D_DrawGraphQuadF(x1, y1, x2, y2, x4, y4, x3, y3, record, trans); },
      [&](GraphRecord* record) { return SoftDrawGraphQuadF(x1, y1, x2, y2, x4, y4, x3, y3, record, trans); });
}
