// The public 3D transform and fog setters. The device gets projection x
// viewport x inverse draw-area viewport as its projection, so that the
// user's viewport lands in screen pixels while the device viewport covers
// only the draw area.
#include <cstring>

#include "WqLib.h"
#include "graphics/camera_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"

namespace {

// Copies the 16 floats into the camera matrix; -1 for a null matrix.
int StoreMatrix(Matrix4* destination, const float* matrix) {
  if (matrix == nullptr) return -1;
  FlushVertexBatch();
  std::memcpy(destination->m, matrix, sizeof(destination->m));
  Camera().viewDerivedValid = 0;
  UpdateViewDerivedData();
  return 0;
}

// The device copy of the fog matches the stored value, or there is no device.
bool DeviceAgrees(bool same) { return !HardwareRendererInUse() || same; }

}  // namespace

int SetWorldMatrix(const float* matrix) {
  if (StoreMatrix(&Camera().world, matrix) != 0) return -1;
  if (HardwareRendererInUse()) SetDeviceWorldMatrix(reinterpret_cast<const D_D3DMATRIX*>(&Camera().world));
  return 0;
}

int SetViewMatrix(const float* matrix) {
  if (StoreMatrix(&Camera().view, matrix) != 0) return -1;
  if (HardwareRendererInUse()) SetDeviceTransform(&Camera().view);
  return 0;
}

int SetProjectionMatrix(const float* matrix) {
  if (StoreMatrix(&Camera().projection, matrix) != 0) return -1;
  SendProjectionToDevice();
  return 0;
}

int SetViewportMatrix(const float* matrix) {
  if (StoreMatrix(&Camera().viewport, matrix) != 0) return -1;
  SendProjectionToDevice();
  return 0;
}

int SetFogMode(int mode) {
  const auto value = static_cast<std::uint32_t>(mode);
  if (Fog.mode == value && DeviceAgrees(DeviceCache().fogMode == mode)) return 0;
  FlushVertexBatch();
  Fog.mode = value;
  if (HardwareRendererInUse()) SetDeviceFogMode(mode);
  return 0;
}

int SetFogColor(int red, int green, int blue) {
  const std::uint32_t color = 0xFF000000u | (static_cast<std::uint32_t>(red) & 0xFF) << 16 |
                              (static_cast<std::uint32_t>(green) & 0xFF) << 8 | (static_cast<std::uint32_t>(blue) & 0xFF);
  if (Fog.color == color && DeviceAgrees(DeviceCache().fogColor == color)) return 0;
  FlushVertexBatch();
  Fog.color = color;
  if (HardwareRendererInUse()) SetDeviceFogColor(color);
  return 0;
}

int SetFogStartEnd(float start, float end) {
  const DeviceStateCache& cache = DeviceCache();
  if (Fog.start == start && Fog.end == end && DeviceAgrees(cache.fogStart == start && cache.fogEnd == end)) return 0;
  FlushVertexBatch();
  Fog.start = start;
  Fog.end = end;
  if (HardwareRendererInUse()) SetDeviceFogStartEnd(start, end);
  return 0;
}
