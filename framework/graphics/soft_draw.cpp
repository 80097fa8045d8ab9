// The software draw path: each routine hands the graph's MEMIMG view, the
// draw target and the blend image to one kernel.
#include "graphics/soft_draw.h"

#include "core/base/math_utils.h"
#include "graphics/render_state.h"
#include "softrender/image_blit.h"
#include "softrender/rotate_blit.h"
#include "softrender/triangle.h"

int SoftDrawGraph(int x, int y, GraphRecord* graph, int trans) {
  MemImgBlit(DrawTargetMemImg, &graph->view, x, y, trans, BlendMemImg);
  return 0;
}

int SoftDrawGraphStretched(int x1, int y1, int x2, int y2, GraphRecord* graph, int trans) {
  const RECT corners{x1, y1, x2, y2};
  MemImgStretchBlit(DrawTargetMemImg, &graph->view, &corners, trans, BlendMemImg);
  return 0;
}

int SoftDrawGraphRotated(float x, float y, double scale, double angle, GraphRecord* graph, int trans, int turn) {
  MemImgRotateBlit(DrawTargetMemImg, &graph->view, FloatToInt(x), FloatToInt(y), static_cast<float>(angle),
                   static_cast<float>(scale), trans, turn, BlendMemImg);
  return 0;
}

int SoftDrawGraphQuad(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* graph, int trans) {
  const int w = graph->width, h = graph->height;
  const TriVertex corners[4] = {{x1, y1, 0, 0}, {x2, y2, w, 0}, {x3, y3, 0, h}, {x4, y4, w, h}};
  MemImgDrawTriangle(DrawTargetMemImg, &graph->view, corners, trans, BlendMemImg, 0);
  MemImgDrawTriangle(DrawTargetMemImg, &graph->view, corners + 1, trans, BlendMemImg, 0);
  return 0;
}

int SoftDrawGraphQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                       GraphRecord* graph, int trans) {
  return SoftDrawGraphQuad(FloatToInt(x1), FloatToInt(y1), FloatToInt(x2), FloatToInt(y2), FloatToInt(x3),
                           FloatToInt(y3), FloatToInt(x4), FloatToInt(y4), graph, trans);
}
