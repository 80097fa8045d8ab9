// Vertex buffer, index buffer and shader handles: refused handles, bounded
// data updates, device objects only where the device takes them, and the
// objects made again with their data after a lost device.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "core/base/tracked_allocator.h"
#include "graphics/graph_restore.h"
#include "graphics/graphics_state.h"
#include "graphics/user_buffers.h"
#include "graphics_fixture.h"
#include "sound/handle_slots.h"

namespace {

// Puts a record with `count` items of `stride` bytes (0, 1, 2, ...) into
// the table at `slot`, as a maker of these handles would; its handle.
template <typename Record, int kSlots>
int AddBuffer(UserHandleTable<Record, kSlots>& table, int kind, int slot, std::uint32_t check, int stride, int count) {
  const std::size_t bytes = static_cast<std::size_t>(stride) * count;
  auto* record = static_cast<Record*>(TrackedAllocZero(sizeof(Record) + bytes, __FILE__, __LINE__));
  record->check = check;
  record->handle = MakeSlotHandle(kind, check, slot);
  record->stride = stride;
  record->count = count;
  record->data = record + 1;
  for (std::size_t i = 0; i < bytes; ++i) static_cast<std::uint8_t*>(record->data)[i] = static_cast<std::uint8_t>(i);
  table.slots[slot] = record;
  ++table.live;
  if (slot >= table.end) table.end = slot + 1;
  return record->handle;
}

int AddShader(int slot, int vertex) {
  static const DWORD tokens[] = {0xFFFE0200, 0x0000FFFF};
  auto* record = static_cast<ShaderRecord*>(TrackedAllocZero(sizeof(ShaderRecord), __FILE__, __LINE__));
  record->check = 3;
  record->handle = MakeSlotHandle(kShaderKind, 3, slot);
  record->vertexFlag = vertex;
  record->function = tokens;
  ShaderTable().slots[slot] = record;
  ++ShaderTable().live;
  if (slot >= ShaderTable().end) ShaderTable().end = slot + 1;
  return record->handle;
}

std::vector<std::uint8_t> Kept(int slot) {
  const VertexBufferRecord* record = VertexBufferTable().slots[slot];
  const auto* bytes = static_cast<const std::uint8_t*>(record->data);
  return {bytes, bytes + static_cast<std::size_t>(record->stride) * record->count};
}

using UserBuffersTest = wqtest::GraphicsTest;

TEST_F(UserBuffersTest, DeletionRefusesBadHandlesAndLowersTheHighWaterIndex) {
  StartInGameMode();
  const int low = AddBuffer(VertexBufferTable(), kVertexBufferKind, 2, 5, 4, 4);
  const int high = AddBuffer(VertexBufferTable(), kVertexBufferKind, 9, 6, 4, 4);
  const int index = AddBuffer(IndexBufferTable(), kIndexBufferKind, 0, 1, 2, 6);
  const int shader = AddShader(0, 1);
  const std::vector<int> refused = {-1, high ^ 0x00010000, (high & 0xFFFF) | kIndexBufferKind, high + 1, index | 0x100};
  for (int handle : refused) EXPECT_EQ(DeleteVertexBuffer(handle), -1) << std::hex << handle;
  EXPECT_EQ(DeleteIndexBuffer(high), -1);
  EXPECT_EQ(DeleteShaderHandle(index), -1);
  ASSERT_EQ(DeleteVertexBuffer(high), 0);
  EXPECT_EQ(DeleteVertexBuffer(high), -1);
  EXPECT_EQ(VertexBufferTable().end, 3);
  EXPECT_EQ(VertexBufferTable().live, 1);
  ASSERT_EQ(DeleteVertexBuffer(low), 0);
  EXPECT_EQ(VertexBufferTable().end, 0);
  EXPECT_EQ(DeleteIndexBuffer(index), 0);
  EXPECT_EQ(DeleteShaderHandle(shader), 0);
  EXPECT_EQ(ShaderTable().live, 0);
}

TEST_F(UserBuffersTest, DeleteAllEmptiesEachTable) {
  StartInGameMode();
  for (int slot : {0, 5, 700}) AddBuffer(VertexBufferTable(), kVertexBufferKind, slot, slot % 2048, 8, 2);
  AddBuffer(IndexBufferTable(), kIndexBufferKind, 3, 0, 2, 2);
  AddShader(4000, 0);
  EXPECT_EQ(DeleteAllVertexBuffers(), 0);
  EXPECT_EQ(DeleteAllIndexBuffers(), 0);
  EXPECT_EQ(DeleteAllShaderHandles(), 0);
  EXPECT_EQ(VertexBufferTable().live, 0);
  EXPECT_EQ(VertexBufferTable().end, 0);
  EXPECT_EQ(IndexBufferTable().live, 0);
  EXPECT_EQ(ShaderTable().end, 0);
}

TEST_F(UserBuffersTest, DataUpdatesStayInsideTheBuffer) {
  StartInGameMode();
  const int handle = AddBuffer(VertexBufferTable(), kVertexBufferKind, 0, 0, 4, 8);
  const int indices = AddBuffer(IndexBufferTable(), kIndexBufferKind, 0, 0, 2, 4);
  const std::vector<std::uint8_t> before = Kept(0);
  const std::uint8_t data[64] = {};
  struct Range {
    int first, count;
  };
  for (const Range& r : std::vector<Range>{{-1, 1}, {0, -1}, {0, 9}, {7, 2}, {8, 1}, {INT_MAX, 1}, {1, INT_MAX}}) {
    EXPECT_EQ(SetVertexBufferData(r.first, data, r.count, handle), -1) << r.first << " + " << r.count;
    EXPECT_EQ(SetIndexBufferData(r.first, data, r.count, indices), -1) << r.first << " + " << r.count;
  }
  EXPECT_EQ(SetVertexBufferData(0, nullptr, 2, handle), -1);
  EXPECT_EQ(SetVertexBufferData(0, data, 1, indices), -1);  // an index buffer's handle
  EXPECT_EQ(Kept(0), before);

  const std::uint8_t ones[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  ASSERT_EQ(SetVertexBufferData(6, ones, 2, handle), 0);
  ASSERT_EQ(SetVertexBufferData(8, ones, 0, handle), 0);  // an empty range at the end
  std::vector<std::uint8_t> expected = before;
  std::fill(expected.begin() + 24, expected.end(), 1);
  EXPECT_EQ(Kept(0), expected);
}

// Our device makes no hardware buffers: the data stays in memory alone.
TEST_F(UserBuffersTest, WithoutHardwareBuffersOnlyTheKeptDataExists) {
  StartInGameMode();
  ASSERT_EQ(Graphics().hardwareBuffersUsable, 0);
  const int handle = AddBuffer(VertexBufferTable(), kVertexBufferKind, 0, 0, 4, 2);
  VertexBufferRecord* record = VertexBufferTable().slots[0];
  EXPECT_EQ(CreateVertexBufferObject(record), 0);
  EXPECT_EQ(record->deviceBuffer, nullptr);
  const std::uint8_t two[4] = {2, 2, 2, 2};
  EXPECT_EQ(SetVertexBufferData(1, two, 1, handle), 0);
  EXPECT_EQ(Kept(0)[4], 2);
}

// The device buffer's bytes, read back.
std::vector<std::uint8_t> DeviceBytes(D_IDirect3DVertexBuffer9* buffer, UINT size) {
  void* bytes = nullptr;
  EXPECT_EQ(buffer->Lock(0, size, &bytes, D_D3DLOCK_READONLY), 0);
  std::vector<std::uint8_t> out(static_cast<std::uint8_t*>(bytes), static_cast<std::uint8_t*>(bytes) + size);
  buffer->Unlock();
  return out;
}

TEST_F(UserBuffersTest, DeviceBuffersHoldTheDataAndAreMadeAgainWithIt) {
  StartInGameMode();
  Graphics().hardwareBuffersUsable = 1;  // as a device with hardware vertex processing
  const int handle = AddBuffer(VertexBufferTable(), kVertexBufferKind, 0, 0, 4, 4);
  AddBuffer(IndexBufferTable(), kIndexBufferKind, 0, 0, 2, 4);
  VertexBufferRecord* record = VertexBufferTable().slots[0];
  ASSERT_EQ(CreateVertexBufferObject(record), 0);
  ASSERT_EQ(CreateIndexBufferObject(IndexBufferTable().slots[0]), 0);
  ASSERT_NE(record->deviceBuffer, nullptr);
  const std::uint8_t nines[4] = {9, 9, 9, 9};
  ASSERT_EQ(SetVertexBufferData(2, nines, 1, handle), 0);
  EXPECT_EQ(DeviceBytes(record->deviceBuffer, 16), Kept(0));
  EXPECT_EQ(Kept(0)[8], 9);

  ReleaseAllGraphTextures();
  EXPECT_EQ(record->deviceBuffer, nullptr);
  EXPECT_EQ(IndexBufferTable().slots[0]->deviceBuffer, nullptr);
  RecreateDeviceObjects();
  ASSERT_NE(record->deviceBuffer, nullptr);
  EXPECT_NE(IndexBufferTable().slots[0]->deviceBuffer, nullptr);
  EXPECT_EQ(DeviceBytes(record->deviceBuffer, 16), Kept(0));
}

TEST_F(UserBuffersTest, ShadersAreMadeAgainAfterALostDevice) {
  StartInGameMode();
  AddShader(0, 1);
  AddShader(1, 0);
  WqControlLoseD3d9Devices();
  ASSERT_EQ(PresentScreen(), 0);
  ASSERT_EQ(PresentScreen(), 0);
  ASSERT_EQ(Graphics().deviceLost, 0);
  EXPECT_NE(ShaderTable().slots[0]->deviceShader, nullptr);
  EXPECT_NE(ShaderTable().slots[1]->deviceShader, nullptr);
}

TEST_F(UserBuffersTest, AFailedDeviceBufferIsLogged) {
  StartInGameMode();
  Graphics().hardwareBuffersUsable = 1;
  AddBuffer(VertexBufferTable(), kVertexBufferKind, 0, 0, 4, 4);
  AddBuffer(IndexBufferTable(), kIndexBufferKind, 0, 0, 2, 4);
  WqControlSetD3d9CallFails("CreateVertexBuffer", true);
  WqControlSetD3d9CallFails("CreateIndexBuffer", true);
  EXPECT_EQ(CreateVertexBufferObject(VertexBufferTable().slots[0]), -1);
  EXPECT_EQ(CreateIndexBufferObject(IndexBufferTable().slots[0]), -1);
  EXPECT_EQ(CreateDeviceVertexBuffer(64, 0, 0x2D2, D_D3DPOOL_DEFAULT), nullptr);
  wqtest::ExpectLogInOrder(ReadLog(), {"頂点バッファの作成に失敗しました", "インデックスバッファの作成に失敗しました"});
}

}  // namespace
