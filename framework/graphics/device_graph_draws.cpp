// Graphs drawn on the Direct3D device at a point, stretched and rotated:
// one quad per texture piece into the vertex batch. Positions are shifted
// by half a pixel so that texel centres fall on pixel centres.
#include <cmath>
#include <numbers>

#include "core/base/math_utils.h"
#include "graphics/device_draw.h"
#include "graphics/device_quad_batch.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"

namespace {

bool Inside(const RECT& r) {
  return r.left >= DrawArea.left && r.top >= DrawArea.top && r.right <= DrawArea.right && r.bottom <= DrawArea.bottom;
}
bool Outside(const RECT& r) {
  return r.right <= DrawArea.left || r.bottom <= DrawArea.top || r.top >= DrawArea.bottom || r.left >= DrawArea.right;
}

// Draws every piece with its graph corners mapped by `place`; clips to
// `area` when given, moving texture coordinates by `scaleX`, `scaleY`
// screen pixels per graph pixel.
template <typename Place>
void DrawPieces(const GraphRecord& graph, Place place, const float* area, float scaleX, float scaleY) {
  const DWORD color = Batch().vertexColor;
  for (int i = 0; i < graph.pieceCount; ++i) {
    const GraphTexturePiece& piece = graph.pieces[i];
    SelectPieceTexture(piece);
    QuadCorner corners[4];
    PieceCorners(piece, corners);
    for (QuadCorner& corner : corners) place(&corner);
    if (area) {
      const TexelsPerPixel step{1.0f / (static_cast<float>(piece.entry->textureWidth) * scaleX),
                                1.0f / (static_cast<float>(piece.entry->textureHeight) * scaleY),
                                BlendTextureSize[2] / scaleX, BlendTextureSize[3] / scaleY};
      for (QuadCorner& corner : corners) ClipQuadCorner(&corner, area, step);
    }
    AppendBatchQuad(corners, color);
  }
}

float Fraction(float value) { return std::fabs(value - std::trunc(value)); }

// Angles within four degrees of a quarter turn, or outside one turn.
bool NearQuarterTurn(double angle) {
  constexpr double kWindow = 0.0698;
  if (angle < -kWindow || angle > 2.0 * std::numbers::pi + kWindow) return true;
  for (int quarter = 0; quarter <= 4; ++quarter)
    if (std::fabs(angle - quarter * std::numbers::pi / 2.0) <= kWindow) return true;
  return false;
}

bool NearWhole(float value) {
  const float fraction = Fraction(value);
  return fraction < 0.001f || fraction > 0.999f;
}

struct Rotation {
  float centreX, centreY;
  float halfW, halfH;
  float scaleX, scaleY;
  float sine, cosine;
  bool turned;

  void Apply(float px, float py, float* x, float* y) const {
    const float dx = (px - halfW) * scaleX;
    const float dy = (py - halfH) * scaleY;
    if (!turned) {
      *x = dx + centreX;
      *y = dy + centreY;
      return;
    }
    *x = dx * cosine - dy * sine + centreX;
    *y = dx * sine + dy * cosine + centreY;
  }
};

Rotation MakeRotation(const GraphRecord& graph, float x, float y, double scale, double angle, int turn) {
  Rotation r{};
  const float w = static_cast<float>(graph.width), h = static_cast<float>(graph.height);
  r.halfW = w * 0.5f;
  r.halfH = h * 0.5f;
  r.centreX = x;
  r.centreY = y;
  const bool oddW = graph.width % 2 != 0, oddH = graph.height % 2 != 0;
  if (Fraction(x) <= 0.00001f && Fraction(y) <= 0.00001f) {
    if (scale != 1.0) {
      r.centreX = x - 0.5f;
      r.centreY = y - 0.5f;
    } else if (oddW != oddH) {
      if (!oddW) r.halfW -= 0.5f;
      if (!oddH) r.halfH -= 0.5f;
    } else if (!oddW) {
      r.halfW = static_cast<float>(graph.width / 2);
      r.halfH = static_cast<float>(graph.height / 2);
      r.centreX = x - 0.5f;
      r.centreY = y - 0.5f;
    }
  }
  r.scaleY = static_cast<float>(scale);
  r.scaleX = turn == 1 ? -r.scaleY : r.scaleY;
  r.turned = angle != 0.0;
  if (r.turned) SinCosF(static_cast<float>(angle), &r.sine, &r.cosine);
  return r;
}

// The texel centres of odd-sized graphs a quarter turn from upright go on
// pixel centres: an axis whose graph size is odd moves by half a pixel
// when an edge of the graph lies along it on a whole coordinate.
void SnapOffsets(const GraphRecord& graph, const Rotation& r, float* offsetX, float* offsetY) {
  float x0, y0, x1, y1, x2, y2;  // top-left, top-right, bottom-left
  r.Apply(0.0f, 0.0f, &x0, &y0);
  r.Apply(static_cast<float>(graph.width), 0.0f, &x1, &y1);
  r.Apply(0.0f, static_cast<float>(graph.height), &x2, &y2);
  auto aligned = [](float first, float a, float b) {
    return (std::fabs(first - a) < 0.01f || std::fabs(first - b) < 0.01f) && NearWhole(first);
  };
  if (graph.width % 2 != 0 && aligned(x0, x1, x2)) *offsetX = -0.5f;
  if (graph.height % 2 != 0 && aligned(y0, y1, y2)) *offsetY = -0.5f;
}

}  // namespace

int G_D3D_DrawGraph(GraphRecord* graph, int x, int y, float fx, float fy, int trans, int integerPlacement) {
  if (!DeviceReadyToDraw()) return -1;
  const float ox = fx - 0.5f, oy = fy - 0.5f;
  BeginDeviceScene();
  SetupDeviceDrawState(graph->image, FirstGraphTexture(*graph),
                       (trans ? kDrawStateTransparent : 0) | (integerPlacement ? kDrawStateIntegerPlacement : 0));
  const RECT bounds{x, y, x + graph->width, y + graph->height};
  const bool inside = Inside(bounds);
  if (!inside && Outside(bounds)) return 0;
  DrawPieces(
      *graph,
      [&](QuadCorner* c) {
        c->x += ox;
        c->y += oy;
      },
      inside ? nullptr : DrawAreaF, 1.0f, 1.0f);
  return 0;
}

int G_D3D_DrawGraphStretched(GraphRecord* graph, int x1, int y1, int x2, int y2, float fx1, float fy1, float fx2,
                             float fy2, int trans, int integerPlacement) {
  if (!DeviceReadyToDraw() || x1 == x2 || y1 == y2) return -1;
  BeginDeviceScene();
  std::uint32_t flags = trans ? kDrawStateTransparent : 0;
  if (integerPlacement && DrawMode != 1) flags |= kDrawStateIntegerPlacement;
  SetupDeviceDrawState(graph->image, FirstGraphTexture(*graph), flags);
  const float sx = (fx2 - fx1) / static_cast<float>(graph->width);
  const float sy = (fy2 - fy1) / static_cast<float>(graph->height);
  const float ox = fx1 - 0.5f, oy = fy1 - 0.5f;
  const RECT bounds{x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, x1 < x2 ? x2 : x1, y1 < y2 ? y2 : y1};
  const bool inside = Inside(bounds);
  if (!inside && Outside(bounds)) return 0;
  const float area[4] = {DrawAreaF[0] - 0.5f, DrawAreaF[1] - 0.5f, DrawAreaF[2] - 0.5f, DrawAreaF[3] - 0.5f};
  DrawPieces(
      *graph,
      [&](QuadCorner* c) {
        c->x = c->x * sx + ox;
        c->y = c->y * sy + oy;
      },
      inside ? nullptr : area, sx, sy);
  return 0;
}

int G_D3D_DrawGraphRotated(GraphRecord* graph, float x, float y, double scale, double angle, int trans, int turn) {
  if (!DeviceReadyToDraw() || scale == 0.0) return -1;
  BeginDeviceScene();
  SetupDeviceDrawState(graph->image, FirstGraphTexture(*graph), trans ? kDrawStateTransparent : 0);
  const Rotation rotation = MakeRotation(*graph, x, y, scale, angle, turn);
  float offsetX = 0.0f, offsetY = 0.0f;
  const bool centreOnPixel = Fraction(x) <= 0.00001f && Fraction(y) <= 0.00001f;
  if (centreOnPixel && angle != 0.0 && NearQuarterTurn(angle)) SnapOffsets(*graph, rotation, &offsetX, &offsetY);
  DrawPieces(
      *graph,
      [&](QuadCorner* c) {
        rotation.Apply(c->x, c->y, &c->x, &c->y);
        c->x += offsetX;
        c->y += offsetY;
      },
      nullptr, 1.0f, 1.0f);
  return 0;
}
