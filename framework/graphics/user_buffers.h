// User 3D data handles: vertex buffers, index buffers and shaders. Each
// keeps its data in memory beside its Direct3D object, so that the object
// can be made again after the device is lost. Nothing in the framework
// makes these handles; the tables, deletion, data updates and the
// re-creation after a rebuild are what exist.
#pragma once

#include <cstdint>

#include "platform/d3d9.h"

inline constexpr int kVertexBufferKind = 0x70000000;
inline constexpr int kIndexBufferKind = 0x78000000;
inline constexpr int kShaderKind = 0x60000000;
inline constexpr int kBufferSlotCount = 16384;
inline constexpr int kShaderSlotCount = 4096;

// Type 0: vertices of FVF 0x2D2 (position, normal, diffuse, specular, two
// texture coordinates) or 16-bit indices. The kept copy lives in the same
// allocation as the record.
template <typename DeviceBuffer>
struct UserBufferRecord {
  std::uint32_t check;
  int handle;
  std::uint32_t type;
  int stride;  // bytes per vertex or index
  int count;
  void* data;  // count x stride bytes
  DeviceBuffer* deviceBuffer;  // null when none
};
using VertexBufferRecord = UserBufferRecord<D_IDirect3DVertexBuffer9>;
using IndexBufferRecord = UserBufferRecord<D_IDirect3DIndexBuffer9>;

struct ShaderRecord {
  std::uint32_t check;
  int handle;
  int vertexFlag;  // 1 vertex shader, 0 pixel shader
  const DWORD* function;  // compiled tokens, in the record's allocation
  IUnknown* deviceShader;  // null when none
};

template <typename Record, int kSlots>
struct UserHandleTable {
  Record* slots[kSlots];
  int live;
  int end;  // one past the highest slot in use
};

UserHandleTable<VertexBufferRecord, kBufferSlotCount>& VertexBufferTable();
UserHandleTable<IndexBufferRecord, kBufferSlotCount>& IndexBufferTable();
UserHandleTable<ShaderRecord, kShaderSlotCount>& ShaderTable();

int DeleteVertexBuffer(int handle);
int DeleteIndexBuffer(int handle);
int DeleteShaderHandle(int handle);
int DeleteAllVertexBuffers();
int DeleteAllIndexBuffers();
int DeleteAllShaderHandles();

// Copies `count` items from data into the buffer from item `first`: into
// the device object (when there is one), then the kept copy. -1 for a bad
// handle, a negative first or count, a range past the buffer or a failed
// lock (logged); nothing changes then.
int SetVertexBufferData(int first, const void* data, int count, int handle);
int SetIndexBufferData(int first, const void* data, int count, int handle);

// Device buffers for the model runtime; null without a device or on failure.
D_IDirect3DVertexBuffer9* CreateDeviceVertexBuffer(UINT length, DWORD usage, DWORD fvf, D_D3DPOOL pool);
D_IDirect3DIndexBuffer9* CreateDeviceIndexBuffer(UINT length, DWORD usage, D_D3DFORMAT format, D_D3DPOOL pool);

// The device object of a record, filled from the kept copy; 0 with nothing
// done on a device without hardware buffers, -1 on failure (logged).
int CreateVertexBufferObject(VertexBufferRecord* record);
int CreateIndexBufferObject(IndexBufferRecord* record);

// The device objects of every handle: released before the device goes,
// and made again (vertex buffers, index buffers, shaders) on the new one.
void ReleaseAllUserBufferObjects();
void RecreateAllUserBufferObjects();
