// The vertex batch and the device's start state.
#include "graphics/vertex_batch.h"

#include <cstring>

#include "core/window/window_system_state.h"
#include "graphics/camera_lights.h"
#include "graphics/device_draw.h"
#include "graphics/device_rebuild.h"
#include "graphics/device_state_cache.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"

namespace {

struct BatchRow {
  DWORD fvf;
  int stride;
  int arrayBytes;
};

// Rows by kind x 3 + format; both world formats share one array.
constexpr BatchRow kRows[6] = {
    {D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE, 20, 64500},
    {D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1, 28, 65520},
    {D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE | D_D3DFVF_SPECULAR | D_D3DFVF_TEX2, 40, 65520},
    {D_D3DFVF_XYZ | D_D3DFVF_DIFFUSE, 16, 65536},
    {D_D3DFVF_XYZ | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1, 24, 65536},
    {0, 0, 0},
};

alignas(16) std::uint8_t g_screenArray0[64500];
alignas(16) std::uint8_t g_screenArray1[65520];
alignas(16) std::uint8_t g_screenArray2[65520];
alignas(16) std::uint8_t g_worldArray[65536];

VertexBatch g_batch;

constexpr D_D3DMATRIX kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

int Row() { return g_batch.kind * 3 + g_batch.format; }

UINT PrimitiveCount(D_D3DPRIMITIVETYPE primitive, int vertices) {
  switch (primitive) {
    case D_D3DPT_POINTLIST:
      return static_cast<UINT>(vertices);
    case D_D3DPT_LINELIST:
      return static_cast<UINT>(vertices / 2);
    case D_D3DPT_LINESTRIP:
      return static_cast<UINT>(vertices - 1);
    case D_D3DPT_TRIANGLELIST:
      return static_cast<UINT>(vertices / 3);
    default:
      return static_cast<UINT>(vertices - 2);
  }
}

void DrawPending() {
  D_IDirect3DDevice9* device = Device();
  DeviceStateCache& cache = DeviceCache();
  if (!Graphics().inScene) {
    device->BeginScene();
    Graphics().inScene = 1;
  }
  if (cache.drawNothing) return;
  const BatchRow& row = kRows[Row()];
  if (cache.fvf != row.fvf) {
    device->SetFVF(row.fvf);
    cache.fvf = row.fvf;
  }
  if (g_batch.kind == kBatchKindWorld) device->SetTransform(D_D3DTS_WORLD, &kIdentity);
  device->DrawPrimitiveUP(g_batch.primitive, PrimitiveCount(g_batch.primitive, g_batch.count), g_batch.arrays[Row()],
                          static_cast<UINT>(row.stride));
  if (g_batch.kind == kBatchKindWorld)
    device->SetTransform(D_D3DTS_WORLD, reinterpret_cast<const D_D3DMATRIX*>(GetWorldMatrix()));
}

// z 0.0 and rhw 1.0 in every screen vertex; specular white in format 2.
void FillConstantFields() {
  const float z = 0.0f;
  const float rhw = 1.0f;
  const std::uint32_t white = 0xFFFFFFFF;
  for (int format = 0; format < 3; ++format) {
    const BatchRow& row = kRows[format];
    for (int offset = 0; offset + row.stride <= row.arrayBytes; offset += row.stride) {
      std::uint8_t* vertex = g_batch.arrays[format] + offset;
      std::memcpy(vertex + 8, &z, 4);
      std::memcpy(vertex + 12, &rhw, 4);
      if (format == 2) std::memcpy(vertex + 20, &white, 4);
    }
  }
}

}  // namespace

VertexBatch& Batch() { return g_batch; }
int BatchCapacity(int kind, int format) {
  const BatchRow& row = kRows[kind * 3 + format];
  return row.stride ? row.arrayBytes / row.stride : 0;
}
int BatchStride(int kind, int format) { return kRows[kind * 3 + format].stride; }
DWORD BatchFvf(int kind, int format) { return kRows[kind * 3 + format].fvf; }

int FlushVertexBatch() {
  if (!Device()) return -1;
  if (g_batch.count != 0 && !GetQuitFlag()) DrawPending();
  g_batch.count = 0;
  g_batch.write = g_batch.arrays[Row()];
  return 0;
}

std::uint8_t* ReserveBatchVertices(D_D3DPRIMITIVETYPE primitive, int count) {
  if (g_batch.kind == kBatchKindWorld || g_batch.primitive != primitive ||
      g_batch.count + count >= BatchCapacity(g_batch.kind, g_batch.format)) {
    if (g_batch.count != 0) FlushVertexBatch();
    g_batch.count = 0;
    g_batch.kind = kBatchKindScreen;
    g_batch.write = g_batch.arrays[Row()];
    g_batch.primitive = primitive;
  }
  return g_batch.write;
}

void CommitBatchVertices(int count) {
  g_batch.count += count;
  g_batch.write += static_cast<std::ptrdiff_t>(count) * BatchStride(g_batch.kind, g_batch.format);
}

void SelectBatchFormat(int format) {
  g_batch.format = format;
  g_batch.write = g_batch.arrays[Row()] + static_cast<std::ptrdiff_t>(g_batch.count) * kRows[Row()].stride;
}

int SetDeviceWorldMatrix(const D_D3DMATRIX* matrix) {
  if (Device()) Device()->SetTransform(D_D3DTS_WORLD, matrix);
  return 0;
}

int InitVertexBatchArrays() {
  D_IDirect3DDevice9* device = Device();
  g_batch.arrays[0] = g_screenArray0;
  g_batch.arrays[1] = g_screenArray1;
  g_batch.arrays[2] = g_screenArray2;
  g_batch.arrays[3] = g_batch.arrays[4] = g_worldArray;
  g_batch.arrays[5] = nullptr;
  FillConstantFields();

  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  ResetDeviceStateCache(width, height);
  DeviceStateCache& cache = DeviceCache();
  for (int stage = 0; stage < kTextureStages; ++stage) {
    for (int c = 0; c < 3; ++c) {
      if (cache.address[stage][c] == 0) cache.address[stage][c] = D_D3DTADDRESS_CLAMP;
      device->SetSamplerState(stage, static_cast<D_D3DSAMPLERSTATETYPE>(D_D3DSAMP_ADDRESSU + c),
                              cache.address[stage][c]);
    }
  }
  g_batch.count = 0;
  SetDeviceTextureFilter(static_cast<int>(DrawMode));

  static constexpr struct {
    D_D3DRENDERSTATETYPE state;
    DWORD value;
  } kStartStates[] = {
      {D_D3DRS_CULLMODE, D_D3DCULL_NONE},   {D_D3DRS_LIGHTING, TRUE},
      {D_D3DRS_SHADEMODE, D_D3DSHADE_FLAT}, {D_D3DRS_DITHERENABLE, FALSE},
      {D_D3DRS_SPECULARENABLE, TRUE},       {D_D3DRS_AMBIENTMATERIALSOURCE, 0},
      {D_D3DRS_NORMALIZENORMALS, TRUE},     {D_D3DRS_FOGENABLE, FALSE},
      {D_D3DRS_FOGVERTEXMODE, 0},           {D_D3DRS_FOGCOLOR, 0},
      {D_D3DRS_FOGSTART, 0x00000000u},      {D_D3DRS_FOGEND, 0x3F800000u},
  };
  for (const auto& start : kStartStates) device->SetRenderState(start.state, start.value);
  D_D3DMATERIAL9 material{};
  device->GetMaterial(&material);
  SetCameraMaterial(material);

  g_batch.kind = kBatchKindScreen;
  g_batch.format = 1;
  g_batch.primitive = D_D3DPT_POINTLIST;
  g_batch.write = g_batch.arrays[Row()];
  g_batch.vertexColor = 0xFFFFFFFF;

  ReapplyDeviceState();
  if (!Graphics().inScene) {
    device->BeginScene();
    Graphics().inScene = 1;
  }
  SetupDeviceDrawState(nullptr, nullptr, 0);
  // One point at the origin, drawn by the next flush in the array's layout.
  std::uint8_t* vertex = ReserveBatchVertices(D_D3DPT_POINTLIST, 1);
  const float origin[2] = {0.0f, 0.0f};
  std::memcpy(vertex, origin, sizeof(origin));
  CommitBatchVertices(1);
  return 0;
}
