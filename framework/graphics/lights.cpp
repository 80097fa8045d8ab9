// The light table: light handles, their records, and sending the enabled
// lights to the device's light slots.
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "core/base/tracked_allocator.h"
#include "core/startup/library_startup.h"
#include "graphics/camera_lights.h"
#include "graphics/device_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"

namespace {

constexpr int kLightSlots = 4096;
constexpr int kCheckRange = 2048;
constexpr int kLightKind = 0x48000000;
constexpr int kDeviceLightSlots = 4;

struct LightRecord {
  int check;
  int handle;
  D_D3DLIGHT9 light;  // the type and the Direct3D values in their order
  int deviceIndex;
  int enabled;
  int changed;
};

struct LightTable {
  LightRecord* slots[kLightSlots];
  int count;
  int highWater;
  int checkCounter;
  int changed;
  int allChanged;
  int deviceLightsUsed;
  int highestDeviceIndex;
  int defaultLight = -1;
};

LightTable g_lights;

LightRecord* FindLight(int handle) {
  if (handle < 0 || (handle & 0x78000000) != kLightKind) return nullptr;
  const int slot = handle & 0xFFFF;
  if (slot >= kLightSlots) return nullptr;
  LightRecord* record = g_lights.slots[slot];
  if (record == nullptr || record->check != ((handle >> 16) & 0x7FF)) return nullptr;
  return record;
}

// -1 when the table is full.
int AllocLightHandle() {
  int slot = g_lights.highWater;
  if (slot >= kLightSlots) {
    for (slot = 0; slot < kLightSlots && g_lights.slots[slot]; ++slot) {
    }
    if (slot == kLightSlots) return -1;
  }
  auto* record = static_cast<LightRecord*>(TrackedAllocZero(sizeof(LightRecord), "", 0));
  if (record == nullptr) FatalErrorFormat("ライト用のメモリの確保に失敗しました");
  record->light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  record->light.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
  record->light.Ambient = {0.33f, 0.33f, 0.33f, 0.33f};
  record->light.Range = 2000.0f;
  record->light.Falloff = 1.0f;
  record->light.Attenuation0 = 0.1f;
  record->light.Theta = 2.0f;
  record->light.Phi = 2.0f;
  record->deviceIndex = -1;
  record->check = g_lights.checkCounter;
  g_lights.checkCounter = (g_lights.checkCounter + 1) % kCheckRange;
  record->handle = kLightKind | record->check << 16 | slot;
  record->enabled = 1;
  record->changed = 1;
  g_lights.slots[slot] = record;
  ++g_lights.count;
  if (slot >= g_lights.highWater) g_lights.highWater = slot + 1;
  g_lights.changed = 1;
  return record->handle;
}

const LightRecord* LightInDeviceSlot(int slot) {
  for (int i = 0; i < g_lights.highWater; ++i) {
    const LightRecord* record = g_lights.slots[i];
    if (record && record->enabled && record->deviceIndex == slot) return record;
  }
  return nullptr;
}

}  // namespace

int CreateDirectionalLight(float x, float y, float z) {
  const int handle = AllocLightHandle();
  if (handle == -1) return -1;
  LightRecord* record = FindLight(handle);
  record->light.Type = D_D3DLIGHT_DIRECTIONAL;
  const float length = std::sqrt(x * x + y * y + z * z);
  record->light.Direction = {x / length, y / length, z / length};
  return handle;
}

void CreateDefaultLight() {
  if (FindLight(g_lights.defaultLight) == nullptr) g_lights.defaultLight = CreateDirectionalLight(1.0f, -1.0f, 1.0f);
}

int DeleteLight(int handle) {
  LightRecord* record = FindLight(handle);
  if (record == nullptr) return -1;
  const int slot = handle & 0xFFFF;
  --g_lights.count;
  g_lights.slots[slot] = nullptr;
  if (slot == g_lights.highWater - 1)
    while (g_lights.highWater > 0 && g_lights.slots[g_lights.highWater - 1] == nullptr) --g_lights.highWater;
  TrackedFree(record);
  g_lights.changed = 1;
  return 0;
}

int DeleteAllLights(int includingDefault) {
  for (int slot = 0; slot < g_lights.highWater; ++slot) {
    const LightRecord* record = g_lights.slots[slot];
    if (record && (includingDefault || record->handle != g_lights.defaultLight)) DeleteLight(record->handle);
  }
  if (includingDefault) g_lights.defaultLight = -1;
  return 0;
}

int RefreshLights() {
  SetLightingEnable(DeviceCache().lighting);
  if (!g_lights.changed && !g_lights.allChanged) return 0;
  int next = 0;
  for (int type : {D_D3DLIGHT_DIRECTIONAL, D_D3DLIGHT_SPOT, D_D3DLIGHT_POINT}) {
    for (int slot = 0; slot < g_lights.highWater; ++slot) {
      LightRecord* record = g_lights.slots[slot];
      if (record == nullptr || !record->enabled || record->light.Type != static_cast<D_D3DLIGHTTYPE>(type)) continue;
      const int index = next++;
      if (record->deviceIndex != index || record->changed || g_lights.allChanged) {
        SetDeviceLight(index, record->light);
        SetDeviceLightEnable(index, 1);
        record->changed = 0;
      }
      record->deviceIndex = index;
    }
  }
  for (int index = next; index <= g_lights.highestDeviceIndex; ++index)
    SetDeviceLightEnable(index, 0);
  g_lights.deviceLightsUsed = next;
  g_lights.highestDeviceIndex = next - 1;
  g_lights.changed = 0;
  g_lights.allChanged = 0;
  return 0;
}

void MarkAllLightsChanged() { g_lights.allChanged = 1; }

const D_D3DLIGHT9* GetDeviceLightSlot(int slot) {
  if (slot < 0 || slot >= kDeviceLightSlots) return nullptr;
  const LightRecord* record = LightInDeviceSlot(slot);
  return record ? &record->light : nullptr;
}

int GetDeviceLightType(int slot) {
  const D_D3DLIGHT9* light = GetDeviceLightSlot(slot);
  return light ? static_cast<int>(light->Type) : 0;
}

int GetLightCount() { return g_lights.count; }
