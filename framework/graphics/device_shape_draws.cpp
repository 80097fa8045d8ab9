// The untextured shapes of the Direct3D path: the filled box (through the
// vertex batch) and the circle (lines or points drawn straight from a
// small local array).
#include <cstring>

#include "WqLib.h"
#include "core/base/math_utils.h"
#include "core/base/tracked_allocator.h"
#include "graphics/device_draw.h"
#include "graphics/device_quad_batch.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"

namespace {

// The screen-format colour tinted by the batch's vertex colour, with the
// vertex colour's alpha.
DWORD ShapeColor(int color) {
  std::uint32_t red = 0, green = 0, blue = 0;
  UnpackColor(static_cast<std::uint32_t>(color), &red, &green, &blue);
  const DWORD vertex = Batch().vertexColor;
  red = red * (vertex >> 16 & 0xFF) / 255;
  green = green * (vertex >> 8 & 0xFF) / 255;
  blue = blue * (vertex & 0xFF) / 255;
  return (vertex & 0xFF000000u) | red << 16 | green << 8 | blue;
}

struct CircleVertex {
  float x, y, z, rhw;
  DWORD color;
};
static_assert(sizeof(CircleVertex) == 20);

// Collects vertices and draws them `perDraw` at a time as one primitive.
class CircleVertices {
 public:
  CircleVertices(D_D3DPRIMITIVETYPE primitive, int perDraw, DWORD color)
      : primitive_(primitive), perDraw_(perDraw), color_(color) {}
  void Add(int x, int y) {
    vertices_[count_++] = {static_cast<float>(x), static_cast<float>(y), kDraw2DDepth, 1.0f, color_};
    if (count_ == perDraw_) Draw();
  }
  void Draw() {
    if (count_ == 0) return;
    const UINT primitives = static_cast<UINT>(primitive_ == D_D3DPT_LINELIST ? count_ / 2 : count_);
    Device()->DrawPrimitiveUP(primitive_, primitives, vertices_, sizeof(CircleVertex));
    count_ = 0;
  }

 private:
  D_D3DPRIMITIVETYPE primitive_;
  int perDraw_;
  DWORD color_;
  int count_ = 0;
  CircleVertex vertices_[40];
};

// One row of a filled circle, drawn once per row.
void FillRow(CircleVertices* lines, std::uint8_t* rowsDone, int row, int x0, int x1) {
  if (row < DrawArea.top || row >= DrawArea.bottom || rowsDone[row]) return;
  if (x1 < DrawArea.left || x0 > DrawArea.right - 1) return;
  if (x0 < DrawArea.left) x0 = DrawArea.left;
  if (x1 > DrawArea.right - 1) x1 = DrawArea.right - 1;
  lines->Add(x0, row);
  lines->Add(x1 + 1, row);
  rowsDone[row] = 1;
}

void Plot(CircleVertices* points, int px, int py) {
  if (px >= 0 && px <= DrawArea.right && py >= DrawArea.top && py <= DrawArea.bottom) points->Add(px, py);
}

// The midpoint circle: calls step(x, y) for each step from (0, r).
template <typename Step>
void WalkCircle(int r, Step step) {
  int x = 0, y = r, d = 3 - 2 * r;
  while (x <= y) {
    step(x, y);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }
}

}  // namespace

int G_D3D_DrawBox(int left, int top, int right, int bottom, int color) {
  if (!DeviceReadyToDraw()) return -1;
  RECT box{left < right ? left : right, top < bottom ? top : bottom, left < right ? right : left,
           top < bottom ? bottom : top};
  ClipRect(&box, &DrawArea);
  if (box.left == box.right || box.top == box.bottom) return 0;
  BeginDeviceScene();
  if (DeviceCache().texture) SetPendingTexture(nullptr);
  SetupDeviceDrawState(nullptr, nullptr, kDrawStateTint);
  const DWORD vertexColor = ShapeColor(color);
  const float l = static_cast<float>(box.left), t = static_cast<float>(box.top);
  const float r = static_cast<float>(box.right), b = static_cast<float>(box.bottom);
  const QuadCorner corners[4] = {{l, t, 0, 0, 0, 0}, {r, t, 0, 0, 0, 0}, {l, b, 0, 0, 0, 0}, {r, b, 0, 0, 0, 0}};
  AppendBatchQuad(corners, vertexColor);
  return 0;
}

int G_D3D_DrawCircle(int x, int y, int r, int color, int fill) {
  FlushVertexBatch();
  if (!DeviceReadyToDraw()) return -1;
  BeginDeviceScene();
  SetupDeviceDrawState(nullptr, nullptr, kDrawStateTint);
  const DWORD vertexColor = ShapeColor(color);
  DeviceStateCache& cache = DeviceCache();
  const DWORD fvf = D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE;
  if (cache.fvf != fvf) {
    Device()->SetFVF(fvf);
    cache.fvf = fvf;
  }
  if (fill) {
    const int rows = DrawArea.bottom > 0 ? DrawArea.bottom : 1;
    auto* rowsDone = static_cast<std::uint8_t*>(TrackedAlloc(static_cast<std::size_t>(rows), __FILE__, __LINE__));
    if (!rowsDone) {
      LogWrite("メモリの確保に失敗しました in G_D3D_DrawCircle");
      return 0;
    }
    std::memset(rowsDone, 0, static_cast<std::size_t>(rows));
    CircleVertices lines(D_D3DPT_LINELIST, 20, vertexColor);
    WalkCircle(r, [&](int dx, int dy) {
      FillRow(&lines, rowsDone, y + dy, x - dx, x + dx);
      FillRow(&lines, rowsDone, y - dy, x - dx, x + dx);
      FillRow(&lines, rowsDone, y + dx, x - dy, x + dy);
      FillRow(&lines, rowsDone, y - dx, x - dy, x + dy);
    });
    lines.Draw();
    TrackedFree(rowsDone);
    return 0;
  }
  CircleVertices points(D_D3DPT_POINTLIST, 40, vertexColor);
  WalkCircle(r, [&](int dx, int dy) {
    const int offsets[8][2] = {{dx, dy}, {-dx, dy}, {dx, -dy}, {-dx, -dy}, {dy, dx}, {-dy, dx}, {dy, -dx}, {-dy, -dx}};
    for (const auto& offset : offsets) Plot(&points, x + offset[0], y + offset[1]);
  });
  points.Draw();
  return 0;
}
