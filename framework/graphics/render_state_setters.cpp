// The public setters of the render state: they validate, clamp and store;
// the hardware renderer picks the values up at the next draw.
#include <algorithm>

#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "graphics/camera_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/draw_target.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/vertex_batch.h"
#include "image/blend_tables.h"

namespace {

std::uint32_t Clamp255(int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); }

void RefreshVertexColor() {
  if (HardwareRendererInUse()) Batch().vertexColor = GetDrawVertexColor();
}

void ApplyDeviceDrawArea() {
  const RECT& a = DrawArea;
  const int width = a.right - a.left;
  const int height = a.bottom - a.top;
  SetViewportRect(a.left, a.top, a.right, a.bottom);
  SetDeviceScissorRect(&a);
  Matrix4 viewport;
  MatrixViewport(&viewport, a.left + width * 0.5f, a.top + height * 0.5f, static_cast<float>(width),
                 static_cast<float>(height));
  SetDrawAreaViewport(&viewport);
}

}  // namespace

std::uint32_t GetDrawVertexColor() {
  const std::uint32_t alpha = (BlendMode != kBlendNone || NoBlendUsesParamAlpha) ? BlendParam : 255;
  return alpha << 24 | (DrawBright & 0xFFFFFF);
}

int SetBlendMode(int mode, int param) {
  if (DrawSuspended) return 0;
  const std::uint32_t clamped = Clamp255(param);
  if (BlendMode == static_cast<std::uint32_t>(mode) && BlendParam == clamped) return 0;
  if (!IsWindowActive()) WaitWhileInactive();
  BlendMode = static_cast<std::uint32_t>(mode);
  BlendParam = clamped;
  RefreshVertexColor();
  return 0;
}

int SetDrawBrightness(int red, int green, int blue) {
  const std::uint32_t bright = Clamp255(red) << 16 | Clamp255(green) << 8 | Clamp255(blue);
  if (bright == DrawBright) return 0;
  DrawBright = bright;
  RefreshVertexColor();
  return 0;
}

void SetDrawBrightnessPacked(std::uint32_t color) {
  const std::uint32_t bright = color & 0xFFFFFF;
  if (bright == DrawBright) return;
  DrawBright = bright;
  RefreshVertexColor();
}

int SetDrawMode(int mode) {
  if (DrawSuspended || DrawMode == static_cast<std::uint32_t>(mode)) return 0;
  DrawMode = static_cast<std::uint32_t>(mode);
  if (HardwareRendererInUse()) SetDeviceTextureFilter(mode);
  return 0;
}

int GetDrawMode() { return static_cast<int>(DrawMode); }

// The blend graph's image weights every draw: on the software renderer its
// MEMIMG is the kernels' blend image, on the device its first texture goes
// to the blend stage (the border values with it, so that a change of them
// alone rebuilds the blend state).
int SetBlendGraph(int graph, int borderParam, int borderRange) {
  if (DrawSuspended) return 0;
  if (graph == BlendGraph && static_cast<std::uint32_t>(borderParam) == BlendBorderParam &&
      static_cast<std::uint32_t>(borderRange) == BlendBorderRange)
    return 0;
  const GraphRecord* record = graph == -1 ? nullptr : FindGraphRecord(graph);
  if (graph != -1 && record == nullptr) return -1;
  BlendGraph = graph;
  if (!IsWindowActive()) WaitWhileInactive();
  BlendBorderParam = Clamp255(borderParam);
  BlendBorderRange = Clamp255(borderRange);
  if (!HardwareRendererInUse()) {
    BlendMemImg = record != nullptr ? &record->image->image : nullptr;
    BuildBlendImageTable(static_cast<int>(BlendBorderParam), static_cast<int>(BlendBorderRange));
    return 0;
  }
  if (!Device()) return -1;
  const int param = static_cast<int>(BlendBorderParam), range = static_cast<int>(BlendBorderRange);
  if (record == nullptr) {
    SetPendingBlendTexture(nullptr, param, range);
    return 0;
  }
  const GraphImageInfo* info = record->image;
  if (!info->inTextures) return -1;
  const GraphTextureEntry& first = info->entries[0];
  SetPendingBlendTexture(first.texture, param, range);
  BlendTextureSize[0] = static_cast<float>(first.textureWidth);
  BlendTextureSize[1] = static_cast<float>(first.textureHeight);
  BlendTextureSize[2] = 1.0f / BlendTextureSize[0];
  BlendTextureSize[3] = 1.0f / BlendTextureSize[1];
  return 0;
}

int SetDrawArea(int x1, int y1, int x2, int y2) {
  if (DrawSuspended) return 0;
  DrawAreaRequest = RECT{x1, y1, x2, y2};
  int width = DrawTargetSize[0], height = DrawTargetSize[1];
  if (IsScreenId(GetDrawTarget())) GetScreenSize(&width, &height);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  DrawArea =
      RECT{std::clamp(x1, 0, width), std::clamp(y1, 0, height), std::clamp(x2, 0, width), std::clamp(y2, 0, height)};
  DrawAreaF[0] = static_cast<float>(DrawArea.left);
  DrawAreaF[1] = static_cast<float>(DrawArea.top);
  DrawAreaF[2] = static_cast<float>(DrawArea.right);
  DrawAreaF[3] = static_cast<float>(DrawArea.bottom);
  if (DrawArea.left == DrawArea.right || DrawArea.top == DrawArea.bottom) {
    DrawAreaEmpty = 1;
    return 0;
  }
  DrawAreaEmpty = 0;
  if (!HardwareRendererInUse()) return 0;
  if (!Device()) return -1;
  ApplyDeviceDrawArea();
  return 0;
}
