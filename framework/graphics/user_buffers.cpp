// The vertex buffer, index buffer and shader handle tables: deletion, data
// updates through the device object and the kept copy, and the device
// objects released and made again around a device rebuild.
#include "graphics/user_buffers.h"

#include <cstring>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "graphics/graphics_start.h"
#include "graphics/graphics_state.h"
#include "sound/handle_slots.h"

namespace {

UserHandleTable<VertexBufferRecord, kBufferSlotCount> g_vertexBuffers;
UserHandleTable<IndexBufferRecord, kBufferSlotCount> g_indexBuffers;
UserHandleTable<ShaderRecord, kShaderSlotCount> g_shaders;

constexpr DWORD kStandardVertexFvf = 0x2D2;

// What differs between vertex and index buffers.
template <typename DeviceBuffer>
struct BufferKind;

template <>
struct BufferKind<D_IDirect3DVertexBuffer9> {
  static constexpr int kind = kVertexBufferKind;
  static constexpr const char* lockFailed = "頂点バッファのロックに失敗しました\n";
  static constexpr const char* createFailed = "頂点バッファの作成に失敗しました\n";
  static auto& Table() { return g_vertexBuffers; }
  static D_IDirect3DVertexBuffer9* Create(UINT length) {
    return CreateDeviceVertexBuffer(length, D_D3DUSAGE_WRITEONLY, kStandardVertexFvf, D_D3DPOOL_DEFAULT);
  }
};

template <>
struct BufferKind<D_IDirect3DIndexBuffer9> {
  static constexpr int kind = kIndexBufferKind;
  static constexpr const char* lockFailed = "インデックスバッファのロックに失敗しました\n";
  static constexpr const char* createFailed = "インデックスバッファの作成に失敗しました\n";
  static auto& Table() { return g_indexBuffers; }
  static D_IDirect3DIndexBuffer9* Create(UINT length) {
    return CreateDeviceIndexBuffer(length, D_D3DUSAGE_WRITEONLY, D_D3DFMT_INDEX16, D_D3DPOOL_DEFAULT);
  }
};

template <typename DeviceBuffer>
void ReleaseDeviceObject(UserBufferRecord<DeviceBuffer>* record) {
  ReleaseObject(&record->deviceBuffer);
}
void ReleaseDeviceObject(ShaderRecord* record) { ReleaseObject(&record->deviceShader); }

template <typename Record, int kSlots>
int DeleteFromTable(UserHandleTable<Record, kSlots>& table, int kind, int handle) {
  Record* record = FindSlotRecord(table.slots, kSlots, kind, handle);
  if (record == nullptr) return -1;
  ReleaseDeviceObject(record);
  const int slot = handle & kHandleIndexMask;
  --table.live;
  table.slots[slot] = nullptr;
  LowerSlotHint(table.slots, slot, &table.end);
  TrackedFree(record);
  return 0;
}

template <typename Record, int kSlots>
int DeleteAllInTable(UserHandleTable<Record, kSlots>& table, int kind) {
  if (!IsGraphicsStarted()) return 0;
  for (int slot = table.end - 1; slot >= 0; --slot) {
    if (const Record* record = table.slots[slot]) DeleteFromTable(table, kind, MakeSlotHandle(kind, record->check, slot));
  }
  return 0;
}

template <typename DeviceBuffer>
int SetBufferData(int first, const void* data, int count, int handle) {
  using Kind = BufferKind<DeviceBuffer>;
  auto& table = Kind::Table();
  UserBufferRecord<DeviceBuffer>* record = FindSlotRecord(table.slots, kBufferSlotCount, Kind::kind, handle);
  if (record == nullptr || first < 0 || count < 0 || static_cast<std::int64_t>(first) + count > record->count ||
      (data == nullptr && count > 0))
    return -1;
  const std::size_t offset = static_cast<std::size_t>(first) * record->stride;
  const std::size_t bytes = static_cast<std::size_t>(count) * record->stride;
  if (record->deviceBuffer != nullptr) {
    void* locked = nullptr;
    if (record->deviceBuffer->Lock(static_cast<UINT>(offset), static_cast<UINT>(bytes), &locked, 0) != 0)
      return LogWrite(Kind::lockFailed), -1;
    std::memcpy(locked, data, bytes);
    record->deviceBuffer->Unlock();
  }
  if (bytes > 0) std::memcpy(static_cast<std::uint8_t*>(record->data) + offset, data, bytes);
  return 0;
}

template <typename DeviceBuffer>
int CreateBufferObject(UserBufferRecord<DeviceBuffer>* record) {
  using Kind = BufferKind<DeviceBuffer>;
  if (!Graphics().hardwareBuffersUsable) return 0;
  const auto length = static_cast<UINT>(static_cast<std::size_t>(record->count) * record->stride);
  record->deviceBuffer = Kind::Create(length);
  if (record->deviceBuffer == nullptr) return LogWrite(Kind::createFailed), -1;
  return SetBufferData<DeviceBuffer>(0, record->data, record->count, record->handle);
}

void CreateShaderObject(ShaderRecord* record) {
  D_IDirect3DDevice9* device = Device();
  if (device == nullptr || record->deviceShader != nullptr) return;
  if (record->vertexFlag) {
    D_IDirect3DVertexShader9* shader = nullptr;
    if (device->CreateVertexShader(record->function, &shader) == 0) record->deviceShader = shader;
  } else {
    D_IDirect3DPixelShader9* shader = nullptr;
    if (device->CreatePixelShader(record->function, &shader) == 0) record->deviceShader = shader;
  }
}

template <typename Record, int kSlots, typename Visit>
void ForEachRecord(UserHandleTable<Record, kSlots>& table, Visit visit) {
  for (int slot = 0; slot < table.end; ++slot) {
    if (Record* record = table.slots[slot]) visit(record);
  }
}

}  // namespace

UserHandleTable<VertexBufferRecord, kBufferSlotCount>& VertexBufferTable() { return g_vertexBuffers; }
UserHandleTable<IndexBufferRecord, kBufferSlotCount>& IndexBufferTable() { return g_indexBuffers; }
UserHandleTable<ShaderRecord, kShaderSlotCount>& ShaderTable() { return g_shaders; }

int DeleteVertexBuffer(int handle) { return DeleteFromTable(g_vertexBuffers, kVertexBufferKind, handle); }
int DeleteIndexBuffer(int handle) { return DeleteFromTable(g_indexBuffers, kIndexBufferKind, handle); }
int DeleteShaderHandle(int handle) { return DeleteFromTable(g_shaders, kShaderKind, handle); }
int DeleteAllVertexBuffers() { return DeleteAllInTable(g_vertexBuffers, kVertexBufferKind); }
int DeleteAllIndexBuffers() { return DeleteAllInTable(g_indexBuffers, kIndexBufferKind); }
int DeleteAllShaderHandles() { return DeleteAllInTable(g_shaders, kShaderKind); }

int SetVertexBufferData(int first, const void* data, int count, int handle) {
  return SetBufferData<D_IDirect3DVertexBuffer9>(first, data, count, handle);
}

int SetIndexBufferData(int first, const void* data, int count, int handle) {
  return SetBufferData<D_IDirect3DIndexBuffer9>(first, data, count, handle);
}

D_IDirect3DVertexBuffer9* CreateDeviceVertexBuffer(UINT length, DWORD usage, DWORD fvf, D_D3DPOOL pool) {
  D_IDirect3DVertexBuffer9* buffer = nullptr;
  if (Device() == nullptr || Device()->CreateVertexBuffer(length, usage, fvf, pool, &buffer, nullptr) != 0)
    return nullptr;
  return buffer;
}

D_IDirect3DIndexBuffer9* CreateDeviceIndexBuffer(UINT length, DWORD usage, D_D3DFORMAT format, D_D3DPOOL pool) {
  D_IDirect3DIndexBuffer9* buffer = nullptr;
  if (Device() == nullptr || Device()->CreateIndexBuffer(length, usage, format, pool, &buffer, nullptr) != 0)
    return nullptr;
  return buffer;
}

int CreateVertexBufferObject(VertexBufferRecord* record) { return CreateBufferObject(record); }
int CreateIndexBufferObject(IndexBufferRecord* record) { return CreateBufferObject(record); }

void ReleaseAllUserBufferObjects() {
  ForEachRecord(g_vertexBuffers, [](auto* record) { ReleaseDeviceObject(record); });
  ForEachRecord(g_indexBuffers, [](auto* record) { ReleaseDeviceObject(record); });
  ForEachRecord(g_shaders, [](auto* record) { ReleaseDeviceObject(record); });
}

void RecreateAllUserBufferObjects() {
  ForEachRecord(g_vertexBuffers, [](VertexBufferRecord* record) { CreateVertexBufferObject(record); });
  ForEachRecord(g_indexBuffers, [](IndexBufferRecord* record) { CreateIndexBufferObject(record); });
  ForEachRecord(g_shaders, [](ShaderRecord* record) { CreateShaderObject(record); });
}
