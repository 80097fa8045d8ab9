// What reaches the device: cached setters send a value once (every time
// while resending) and draw the pending batch before they change anything;
// the batch draws in one call per full array and flushes before the quad
// that does not fit. A recording device stands in for the platform's.
#include <gtest/gtest.h>

#include <functional>

#include "core/window/window_system_state.h"
#include "graphics/device_rebuild.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/vertex_batch.h"
#include "recording_device.h"

namespace {

using wqtest::RecordingDevice;

class DeviceCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    Graphics().device = &device_;
    Graphics().useHardwareRenderer = 1;
    InitVertexBatchArrays();
    SelectBatchFormat(1);  // the textured quads these tests append
    FlushVertexBatch();    // the start-up point
    device_.calls.clear();
  }
  void TearDown() override {
    Graphics().device = nullptr;
    Graphics().useHardwareRenderer = 0;
    DeviceStateResend = 0;
  }
  // Appends one textured quad (two triangles) to the batch.
  static void AppendQuad() {
    ReserveBatchVertices(D_D3DPT_TRIANGLELIST, 6);
    CommitBatchVertices(6);
  }

  RecordingDevice device_;
};

struct SetterCase {
  const char* name;
  std::function<int(int)> set;  // sets a value derived from its argument
  const char* call;             // the device call it makes
};

TEST_F(DeviceCacheTest, EachSetterSendsOnceAndAlwaysWhileResending) {
  const SetterCase cases[] = {
      {"ZFunc", [](int v) { return SetDeviceZFunc(v + 1); }, "SetRenderState 23"},
      {"ZWrite", [](int v) { return SetDeviceZWriteEnable(v & 1); }, "SetRenderState 14"},
      {"ZEnable", [](int v) { return SetDeviceZEnable(v & 1); }, "SetRenderState 7"},
      {"DepthBias", [](int v) { return SetDeviceDepthBias(v + 7); }, "SetRenderState 195"},
      {"FillMode", [](int v) { return SetDeviceFillMode(1 + v % 3); }, "SetRenderState 8"},
      {"Cull", [](int v) { return SetDeviceCullMode(v % 2 ? 2 : 1); }, "SetRenderState 22"},
      {"FogColor", [](int v) { return SetDeviceFogColor(0xFF000000u + v); }, "SetRenderState 34"},
      {"Filter", [](int v) { return SetDeviceTextureFilter(v % 2); }, "SetSamplerState 0 5"},
      {"Address", [](int v) { return SetDeviceTextureAddressU(0, 1 + v % 2); }, "SetSamplerState 0 1"},
      {"Scissor",
       [](int v) {
         const RECT rect{v, 0, 100, 100};
         return SetDeviceScissorRect(&rect);
       },
       "SetScissorRect"},
      {"Viewport", [](int v) { return SetViewportRect(v, 0, 100, 100); }, "SetViewport"},
  };
  for (const SetterCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (int value = 1; value <= 2; ++value) {  // both differ from the start state
      device_.calls.clear();
      EXPECT_EQ(c.set(value), 0);
      EXPECT_EQ(c.set(value), 0);
      EXPECT_EQ(device_.Count(c.call), 1);
      DeviceStateResend = 1;
      device_.calls.clear();
      c.set(value);
      c.set(value);
      EXPECT_EQ(device_.Count(c.call), 2);
      DeviceStateResend = 0;
    }
  }
}

TEST_F(DeviceCacheTest, AChangeDrawsTheBatchFirstAndAnUnchangedValueKeepsIt) {
  SetDeviceZFunc(D_D3DCMP_LESS);
  device_.calls.clear();
  AppendQuad();
  SetDeviceZFunc(D_D3DCMP_LESS);  // unchanged: the batch stays pending
  EXPECT_EQ(Batch().count, 6);
  EXPECT_TRUE(device_.calls.empty());
  SetDeviceZFunc(D_D3DCMP_GREATER);
  ASSERT_EQ(device_.calls.size(), 2u);
  EXPECT_EQ(device_.calls[0], "DrawPrimitiveUP 4 2");
  EXPECT_EQ(device_.calls[1], "SetRenderState 23 5");
  EXPECT_EQ(Batch().count, 0);
  // Pending blend inputs flush too, though they send nothing.
  AppendQuad();
  SetPendingBlendState(1, 0, 0);
  EXPECT_EQ(device_.Count("DrawPrimitiveUP"), 2);
  EXPECT_EQ(DeviceCache().blendStateDirty, 1);
}

TEST_F(DeviceCacheTest, RefusedArgumentsSendNothing) {
  EXPECT_EQ(SetDeviceTextureFilter(3), -1);
  EXPECT_EQ(SetDeviceTextureAddress(8, D_D3DTADDRESS_WRAP), -1);
  EXPECT_EQ(DrawDeviceIndexedVertices(1, nullptr, 4), -1);
  EXPECT_TRUE(device_.calls.empty());
  EXPECT_EQ(SetDeviceTextureAddress(-1, D_D3DTADDRESS_WRAP), 0);
  EXPECT_EQ(device_.Count("SetSamplerState"), 8 * 3);
}

TEST_F(DeviceCacheTest, TheQuadThatDoesNotFitFlushesFirst) {
  ASSERT_EQ(BatchCapacity(kBatchKindScreen, 1), 2340);
  for (int quad = 0; quad < 389; ++quad) AppendQuad();
  EXPECT_EQ(device_.Count("DrawPrimitiveUP"), 0);
  EXPECT_EQ(Batch().count, 2334);
  AppendQuad();  // the 390th
  ASSERT_EQ(device_.Count("DrawPrimitiveUP"), 1);
  EXPECT_EQ(device_.calls.back(), "DrawPrimitiveUP 4 778");
  EXPECT_EQ(Batch().count, 6);
  EXPECT_EQ(Batch().write, Batch().arrays[1] + 6 * 28);
}

TEST_F(DeviceCacheTest, PrimitiveCountsFollowTheType) {
  struct {
    D_D3DPRIMITIVETYPE type;
    int vertices;
    const char* call;
  } cases[] = {{D_D3DPT_POINTLIST, 5, "DrawPrimitiveUP 1 5"},     {D_D3DPT_LINELIST, 5, "DrawPrimitiveUP 2 2"},
               {D_D3DPT_LINESTRIP, 5, "DrawPrimitiveUP 3 4"},     {D_D3DPT_TRIANGLELIST, 7, "DrawPrimitiveUP 4 2"},
               {D_D3DPT_TRIANGLESTRIP, 5, "DrawPrimitiveUP 5 3"}, {D_D3DPT_TRIANGLEFAN, 5, "DrawPrimitiveUP 6 3"}};
  for (const auto& c : cases) {
    device_.calls.clear();
    ReserveBatchVertices(c.type, c.vertices);
    CommitBatchVertices(c.vertices);
    FlushVertexBatch();
    EXPECT_EQ(device_.Count(c.call), 1) << c.call;
  }
}

TEST_F(DeviceCacheTest, QuittingDropsThePendingVerticesAndAnEmptyFlushDrawsNothing) {
  AppendQuad();
  WindowSystem().quit = 1;
  EXPECT_EQ(FlushVertexBatch(), 0);
  WindowSystem().quit = 0;
  EXPECT_EQ(Batch().count, 0);
  EXPECT_EQ(FlushVertexBatch(), 0);
  EXPECT_EQ(device_.Count("DrawPrimitiveUP"), 0);
  EXPECT_EQ(Batch().write, Batch().arrays[1]);
}

// Without programmable shaders fog sends only its render states, and the
// constant sets stay off the device.
TEST_F(DeviceCacheTest, FogAndConstantSetsSendNoShaderRegistersWithoutShaders) {
  EXPECT_EQ(SetDeviceFogMode(1), 0);
  EXPECT_EQ(SetDeviceFogMode(1), 0);
  EXPECT_EQ(SetDeviceFogEnable(1), 0);
  EXPECT_EQ(ApplyShaderConstantSet(1), 0);
  const float value[4] = {};
  EXPECT_EQ(SetVertexShaderConstants(3, 1, value), 0);
  EXPECT_EQ(SetPixelShaderConstants(32, 1, value), -1);
  EXPECT_EQ(device_.calls, (std::vector<std::string>{"SetRenderState 140 1", "SetRenderState 28 1"}));
  EXPECT_EQ(DeviceCache().userConstantSetOn, 0);
}

// Stage results go to CURRENT when the device state is applied, and only a
// device that reports the temporary register is sent the state.
TEST_F(DeviceCacheTest, StageResultsAreResetOnlyOnDevicesWithTheTempRegister) {
  for (int tempUsable = 0; tempUsable <= 1; ++tempUsable) {
    SCOPED_TRACE(tempUsable);
    Graphics().textureStageTempUsable = tempUsable;
    device_.calls.clear();
    ReapplyDeviceState();
    std::vector<std::string> sent;
    for (const std::string& call : device_.calls)
      if (call.find("SetTextureStageState") == 0 && call.find(" 28 ") != std::string::npos) sent.push_back(call);
    const std::vector<std::string> expected = {"SetTextureStageState 0 28 1", "SetTextureStageState 1 28 1",
                                               "SetTextureStageState 2 28 1", "SetTextureStageState 3 28 1"};
    EXPECT_EQ(sent, tempUsable ? expected : std::vector<std::string>{});
  }
  Graphics().textureStageTempUsable = 0;
}

TEST(DeviceCacheWithoutDeviceTest, FlushFailsAndKeepsTheBatch) {
  Graphics().device = nullptr;
  Batch().count = 3;
  EXPECT_EQ(FlushVertexBatch(), -1);
  EXPECT_EQ(Batch().count, 3);
  EXPECT_EQ(SetDeviceZFunc(D_D3DCMP_LESS), -1);
}

}  // namespace
