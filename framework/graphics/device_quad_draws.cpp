// Graphs drawn onto four free corners on the Direct3D device.
//
// A piece whose quad is a parallelogram is two plain triangles. Any other
// quad is drawn with perspective: its diagonals cross at c, and each corner
// gets the reciprocal depth q = (d + d') / d', where d is the corner's
// distance to c and d' the distance of the opposite corner. The device
// interpolates texture coordinates divided by the reciprocal depth of
// pre-transformed vertices (rhw), so q as rhw gives the projective mapping
// of the texture onto the quad. Each piece of a graph of several pieces has
// its own quad and so its own diagonals; the pieces' corner-side marks are
// not needed. A quad whose diagonals do not cross inside it (not convex)
// is drawn without perspective.
#include <cmath>

#include "graphics/device_draw.h"
#include "graphics/device_quad_batch.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"

namespace {

constexpr float kParallelogramTolerance = 0.01f;

struct Point {
  float x, y;
};

// The quad TL, TR, BL, BR.
struct Quad {
  Point corners[4];
};

bool IsParallelogram(const Quad& q) {
  const Point* p = q.corners;
  return std::fabs((p[kTopRight].x - p[kTopLeft].x) - (p[kBottomRight].x - p[kBottomLeft].x)) < kParallelogramTolerance &&
         std::fabs((p[kTopRight].y - p[kTopLeft].y) - (p[kBottomRight].y - p[kBottomLeft].y)) < kParallelogramTolerance;
}

float Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The reciprocal depths of the corners, or false when the diagonals TL-BR
// and TR-BL do not cross inside both.
bool PerspectiveDepths(const Quad& q, float depth[4]) {
  const Point a = q.corners[kTopLeft], b = q.corners[kBottomRight];
  const Point c = q.corners[kTopRight], d = q.corners[kBottomLeft];
  const float ex = b.x - a.x, ey = b.y - a.y, fx = d.x - c.x, fy = d.y - c.y;
  const float denominator = ex * fy - ey * fx;
  if (std::fabs(denominator) < 1e-6f) return false;
  const float t = ((c.x - a.x) * fy - (c.y - a.y) * fx) / denominator;
  const float s = ((c.x - a.x) * ey - (c.y - a.y) * ex) / denominator;
  if (t <= 0.0f || t >= 1.0f || s <= 0.0f || s >= 1.0f) return false;
  const Point cross{a.x + ex * t, a.y + ey * t};
  const float dA = Distance(a, cross), dB = Distance(b, cross), dC = Distance(c, cross), dD = Distance(d, cross);
  depth[kTopLeft] = (dA + dB) / dB;
  depth[kBottomRight] = (dA + dB) / dA;
  depth[kTopRight] = (dC + dD) / dD;
  depth[kBottomLeft] = (dC + dD) / dC;
  return true;
}

// Where a point (px, py) of a w x h graph lands inside the quad.
Point PlaceInQuad(const Quad& q, float px, float py, float w, float h) {
  const Point* p = q.corners;
  const float fx = px / w, fy = py / h;
  const Point top{p[kTopLeft].x + (p[kTopRight].x - p[kTopLeft].x) * fx,
                  p[kTopLeft].y + (p[kTopRight].y - p[kTopLeft].y) * fx};
  const Point bottom{p[kBottomLeft].x + (p[kBottomRight].x - p[kBottomLeft].x) * fx,
                     p[kBottomLeft].y + (p[kBottomRight].y - p[kBottomLeft].y) * fx};
  return {top.x + (bottom.x - top.x) * fy, top.y + (bottom.y - top.y) * fy};
}

// The quad of one piece inside the graph's quad.
Quad PieceQuad(const Quad& graphQuad, const GraphTexturePiece& piece, const GraphRecord& graph) {
  const float w = static_cast<float>(graph.width), h = static_cast<float>(graph.height);
  Quad quad{};
  for (int corner = 0; corner < 4; ++corner)
    quad.corners[corner] = PlaceInQuad(graphQuad, piece.vertices[corner][0], piece.vertices[corner][1], w, h);
  return quad;
}

// Appends the piece onto the quad, with perspective unless it is a
// parallelogram.
void AppendPieceQuad(const Quad& quad, const GraphTexturePiece& piece) {
  QuadCorner corners[4];
  PieceCorners(piece, corners);
  float depth[4];
  const bool perspective = !IsParallelogram(quad) && PerspectiveDepths(quad, depth);
  for (int corner = 0; corner < 4; ++corner) {
    corners[corner].x = quad.corners[corner].x;
    corners[corner].y = quad.corners[corner].y;
    if (perspective) corners[corner].rhw = depth[corner];
  }
  AppendBatchQuad(corners, Batch().vertexColor);
}

}  // namespace

int G_D3D_DrawPieceQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                         const GraphTexturePiece* piece) {
  if (!DeviceReadyToDraw()) return -1;
  SelectPieceTexture(*piece);
  AppendPieceQuad(Quad{{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}}, *piece);
  return 0;
}

int G_D3D_DrawGraphQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                         GraphRecord* graph, int trans) {
  if (!DeviceReadyToDraw()) return -1;
  if (BlendGraph != -1)
    return G_D3D_DrawGraphQuadInt(graph, static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
                                  static_cast<int>(y2), static_cast<int>(x3), static_cast<int>(y3),
                                  static_cast<int>(x4), static_cast<int>(y4), trans);
  BeginDeviceScene();
  SetupDeviceDrawState(graph->image, FirstGraphTexture(*graph), trans ? kDrawStateTransparent : 0);
  if (graph->pieceCount == 1) return G_D3D_DrawPieceQuadF(x1, y1, x2, y2, x3, y3, x4, y4, &graph->pieces[0]);
  const Quad quad{{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}};
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Quad piece = PieceQuad(quad, graph->pieces[i], *graph);
    const Point* p = piece.corners;
    G_D3D_DrawPieceQuadF(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y, &graph->pieces[i]);
  }
  return 0;
}

int G_D3D_DrawGraphQuadInt(GraphRecord* graph, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                           int trans) {
  if (x1 == x3 && y1 == y2 && x2 == x4 && y3 == y4)
    return G_D3D_DrawGraphStretched(graph, x1, y1, x4, y4, static_cast<float>(x1), static_cast<float>(y1),
                                    static_cast<float>(x4), static_cast<float>(y4), trans, 1);
  auto f = [](int v) { return static_cast<float>(v); };
  if (BlendGraph == -1) return G_D3D_DrawGraphQuadF(f(x1), f(y1), f(x2), f(y2), f(x3), f(y3), f(x4), f(y4), graph, trans);
  if (!DeviceReadyToDraw()) return -1;
  FlushVertexBatch();
  BeginDeviceScene();
  SetupDeviceDrawState(graph->image, FirstGraphTexture(*graph),
                       (trans ? kDrawStateTransparent : 0) | kDrawStateIntegerPlacement);
  const Quad quad{{{f(x1) - 0.5f, f(y1) - 0.5f}, {f(x2) - 0.5f, f(y2) - 0.5f}, {f(x3) - 0.5f, f(y3) - 0.5f},
                   {f(x4) - 0.5f, f(y4) - 0.5f}}};
  for (int i = 0; i < graph->pieceCount; ++i) {
    const GraphTexturePiece& piece = graph->pieces[i];
    SelectPieceTexture(piece);
    AppendPieceQuad(PieceQuad(quad, piece, *graph), piece);
  }
  return 0;
}
