// Drawing one glyph from the texture cache through the device: the edge
// mask in the edge colour first for edged fonts, then the glyph in the
// text colour, each limited to the glyph's box by narrowing the draw area.
#include <algorithm>
#include <cstring>
#include <utility>

#include "graphics/device_draw.h"
#include "graphics/device_quad_batch.h"
#include "graphics/present_screen.h"
#include "graphics/graph_record.h"
#include "graphics/render_state.h"
#include "text/font_record.h"
#include "text/glyph_cache.h"
#include "text/text_draw_core.h"

namespace {

// Narrows the draw area to a box for one draw and puts it back after.
class NarrowedDrawArea {
 public:
  explicit NarrowedDrawArea(RECT box) : saved_(DrawArea) {
    std::copy(DrawAreaF, DrawAreaF + 4, savedF_);
    DrawArea = RECT{std::max(box.left, saved_.left), std::max(box.top, saved_.top), std::min(box.right, saved_.right),
                    std::min(box.bottom, saved_.bottom)};
    DrawAreaF[0] = static_cast<float>(DrawArea.left);
    DrawAreaF[1] = static_cast<float>(DrawArea.top);
    DrawAreaF[2] = static_cast<float>(DrawArea.right);
    DrawAreaF[3] = static_cast<float>(DrawArea.bottom);
  }
  ~NarrowedDrawArea() {
    DrawArea = saved_;
    std::copy(savedF_, savedF_ + 4, DrawAreaF);
  }
  bool Empty() const { return DrawArea.left >= DrawArea.right || DrawArea.top >= DrawArea.bottom; }
  NarrowedDrawArea(const NarrowedDrawArea&) = delete;
  NarrowedDrawArea& operator=(const NarrowedDrawArea&) = delete;

 private:
  RECT saved_;
  float savedF_[4];
};

// Draws `draw` with the edge graph in the edge colour (edged fonts) and
// then the cache graph in the text colour.
template <typename Draw>
void DrawBothGraphs(const FontRecord* font, const TextureGlyphColors& colors, Draw draw) {
  const std::uint32_t savedBright = DrawBright;
  if (GraphRecord* edge = FindGraphRecord(font->edgeCacheGraph)) {
    SetDrawBrightnessPacked(colors.edge);
    draw(edge);
  }
  if (GraphRecord* glyphs = FindGraphRecord(font->cacheGraph)) {
    SetDrawBrightnessPacked(colors.color);
    draw(glyphs);
  }
  SetDrawBrightnessPacked(savedBright);
}

// Draws the box of the graph onto the screen points `place` gives for its
// graph coordinates, piece by piece, so that nothing outside the box shows.
template <typename Place>
void DrawTurnedBox(GraphRecord* graph, const RECT& box, Place place) {
  if (!DeviceReadyToDraw()) return;
  BeginDeviceScene();
  SetupDeviceDrawState(graph->image, FirstGraphTexture(*graph), kDrawStateTransparent);
  for (int i = 0; i < graph->pieceCount; ++i) {
    GraphTexturePiece piece = graph->pieces[i];
    const RECT part{std::max<LONG>(box.left, piece.destX), std::max<LONG>(box.top, piece.destY),
                    std::min<LONG>(box.right, piece.destX + piece.width),
                    std::min<LONG>(box.bottom, piece.destY + piece.height)};
    if (part.left >= part.right || part.top >= part.bottom) continue;
    const float width = static_cast<float>(piece.entry->textureWidth);
    const float height = static_cast<float>(piece.entry->textureHeight);
    const float u0 = static_cast<float>(piece.sourceX + part.left - piece.destX) / width;
    const float v0 = static_cast<float>(piece.sourceY + part.top - piece.destY) / height;
    const float u1 = u0 + static_cast<float>(part.right - part.left) / width;
    const float v1 = v0 + static_cast<float>(part.bottom - part.top) / height;
    const float w = static_cast<float>(part.right - part.left), h = static_cast<float>(part.bottom - part.top);
    const float corners[4][4] = {{0, 0, u0, v0}, {w, 0, u1, v0}, {0, h, u0, v1}, {w, h, u1, v1}};
    std::memcpy(piece.vertices, corners, sizeof(corners));
    const auto tl = place(part.left, part.top), tr = place(part.right, part.top);
    const auto bl = place(part.left, part.bottom), br = place(part.right, part.bottom);
    G_D3D_DrawPieceQuadF(tl.first, tl.second, tr.first, tr.second, bl.first, bl.second, br.first, br.second, &piece);
  }
}

}  // namespace

void DrawTextureGlyph(const FontRecord* font, const GlyphCacheCell* cell, const TextLayout& layout, double pen,
                      const TextureGlyphColors& colors) {
  const int savedBlendGraph = BlendGraph;
  const int savedBorderParam = static_cast<int>(BlendBorderParam), savedBorderRange = static_cast<int>(BlendBorderRange);
  if (savedBlendGraph != -1) SetBlendGraph(-1, savedBorderParam, savedBorderRange);
  int x0 = 0, y0 = 0;
  CellCorner(font, cell->position, &x0, &y0);
  const int boxWidth = cell->boxWidth, boxHeight = cell->boxHeight;
  const double sx = layout.scaleX, sy = layout.scaleY;

  if (layout.vertical) {
    // Turned a quarter clockwise: cache point (u, v) lands at
    // (R - (v - y0) x sy, T + (u - x0) x sx), less half a pixel.
    const double right = layout.x + (font->cellHeight - cell->topOffset) * sy;
    const double top = layout.y + pen + cell->originX * sx;
    const RECT box{x0, y0, x0 + boxWidth, y0 + boxHeight};
    DrawBothGraphs(font, colors, [&](GraphRecord* graph) {
      DrawTurnedBox(graph, box, [&](double u, double v) {
        return std::pair<float, float>{static_cast<float>(right - (v - y0) * sy - 0.5),
                                       static_cast<float>(top + (u - x0) * sx - 0.5)};
      });
    });
  } else if (layout.scaled) {
    const double left = layout.x + pen + cell->originX * sx;
    const double top = layout.y + cell->topOffset * sy;
    const NarrowedDrawArea area(RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                                     static_cast<LONG>(left + boxWidth * sx), static_cast<LONG>(top + boxHeight * sy)});
    if (!area.Empty()) {
      DrawBothGraphs(font, colors, [&](GraphRecord* graph) {
        const float fx1 = static_cast<float>(left - x0 * sx), fy1 = static_cast<float>(top - y0 * sy);
        const float fx2 = static_cast<float>(fx1 + graph->width * sx), fy2 = static_cast<float>(fy1 + graph->height * sy);
        G_D3D_DrawGraphStretched(graph, static_cast<int>(fx1), static_cast<int>(fy1), static_cast<int>(fx2),
                                 static_cast<int>(fy2), fx1, fy1, fx2, fy2, 1, 0);
      });
    }
  } else {
    const int left = layout.x + static_cast<int>(pen) + cell->originX;
    const int top = layout.y + cell->topOffset;
    const NarrowedDrawArea area(RECT{left, top, left + boxWidth, top + boxHeight});
    if (!area.Empty()) {
      DrawBothGraphs(font, colors, [&](GraphRecord* graph) {
        G_D3D_DrawGraph(graph, left - x0, top - y0, static_cast<float>(left - x0), static_cast<float>(top - y0), 1, 1);
      });
    }
  }
  if (savedBlendGraph != -1) SetBlendGraph(savedBlendGraph, savedBorderParam, savedBorderRange);
}
