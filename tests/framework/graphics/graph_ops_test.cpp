// Operations on whole graphs: deletion and its notify flag, file names,
// filling, derived graphs, the draw target read back (lock and copy into a
// graph) on both renderers, graphs as draw targets, and refused handles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/camera_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/draw_target.h"
#include "graphics/graph_creation_settings.h"
#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics_fixture.h"
#include "platform/gdi32.h"

namespace {

// 0xAARRGGBB of pixel (x, y) of a 32-bit image block.
std::uint32_t Pixel32(const void* pixels, std::int64_t pitch, int x, int y) {
  std::uint32_t value = 0;
  std::memcpy(&value, static_cast<const std::uint8_t*>(pixels) + y * pitch + x * 4, 4);
  return value;
}

class GraphOpsTest : public wqtest::GraphicsTest {
 protected:
  // A graph of one colour made from a base image without alpha (black is
  // the colour key).
  int MakeGraph(int width, int height, std::uint32_t rgb) {
    BaseImage image{};
    EXPECT_EQ(CreateXrgbBaseImage(width, height, &image), 0);
    const std::uint32_t argb = rgb | 0xFF000000u;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        std::memcpy(static_cast<std::uint8_t*>(image.pixels) + y * image.pitch + x * 4, &argb, 4);
    const int graph = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
    ReleaseBaseImage(&image);
    return graph;
  }
  // A graph the device can draw to (the kind a movie frame gets).
  int MakeDrawableGraph(int width, int height) {
    SetCreateGraphMovieFlag(1);
    const int graph = MakeGraph(width, height, 0);
    SetCreateGraphMovieFlag(0);
    return graph;
  }
  // 0xAARRGGBB (device: level 0 of the first texture) or 0x00RRGGBB (software).
  std::uint32_t GraphPixel(int graph, int x, int y) {
    const GraphRecord* record = FindGraphRecord(graph);
    if (!record->image->inTextures) return Pixel32(record->view.pixels, record->view.data->pitch, x, y) & 0xFFFFFF;
    D_IDirect3DTexture9* texture = record->image->entries[0].texture;
    D_D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    if (record->image->drawable) {
      // A render target is read through a system-memory copy.
      D_IDirect3DSurface9* copy = nullptr;
      EXPECT_EQ(Device()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D_D3DPOOL_SYSTEMMEM, &copy,
                                                      nullptr),
                0);
      EXPECT_EQ(Device()->GetRenderTargetData(record->image->entries[0].surface, copy), 0);
      D_D3DLOCKED_RECT locked{};
      EXPECT_EQ(copy->LockRect(&locked, nullptr, D_D3DLOCK_READONLY), 0);
      const std::uint32_t value = Pixel32(locked.pBits, locked.Pitch, x, y);
      copy->UnlockRect();
      copy->Release();
      return value;
    }
    D_D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, D_D3DLOCK_READONLY), 0);
    const std::uint32_t value = Pixel32(locked.pBits, locked.Pitch, x, y);
    texture->UnlockRect(0);
    return value;
  }
};

TEST_F(GraphOpsTest, DeletingLowersTheHighWaterMarkAndRaisesTheNotifyFlags) {
  StartInGameMode();
  const int base = GraphSlotEnd();  // the default font's cache graph
  const int a = MakeGraph(8, 8, 0x102030);
  const int b = MakeGraph(8, 8, 0x102030);
  const int c = MakeGraph(8, 8, 0x102030);
  int flagB = 7, flagC = 7;
  ASSERT_EQ(SetGraphDeleteNotifyFlag(b, &flagB), 0);
  ASSERT_EQ(SetGraphDeleteNotifyFlag(c, &flagC), 0);
  EXPECT_EQ(flagB, 0);
  EXPECT_EQ(flagC, 0);
  ASSERT_EQ(DeleteGraph(b), 0);
  EXPECT_EQ(flagB, 1);
  EXPECT_EQ(GraphSlotEnd(), base + 3);  // the top slot is still live
  ASSERT_EQ(DeleteGraph(c), 0);
  EXPECT_EQ(GraphSlotEnd(), base + 1);  // past the empty slot of b to a
  EXPECT_EQ(DeleteGraph(c), -1);

  int flagD = 7;
  const int d = MakeGraph(8, 8, 0x102030);
  ASSERT_EQ(SetGraphDeleteNotifyFlag(d, &flagD), 0);
  EXPECT_EQ(DeleteAllGraphs(), 0);
  EXPECT_EQ(flagD, 1);
  EXPECT_EQ(GraphSlotEnd(), 0);
  EXPECT_EQ(FindGraphRecord(a), nullptr);
}

TEST_F(GraphOpsTest, AGraphCutFromAnotherOutlivesItsSource) {
  StartInGameMode();
  const int whole = MakeGraph(50, 50, 0x4080C0);
  const int part = DeriveGraph(10, 10, 100, 100, whole);
  ASSERT_GE(part, 0);
  EXPECT_EQ(FindGraphRecord(part)->width, 40);
  EXPECT_EQ(FindGraphRecord(part)->height, 40);
  EXPECT_EQ(DeriveGraph(50, 0, 10, 10, whole), -1);
  ASSERT_EQ(DeleteGraph(whole), 0);
  EXPECT_EQ(FindGraphRecord(part)->image->refCount, 1);
  EXPECT_EQ(GraphPixel(part, 39, 39), 0xFF4080C0u);
}

TEST_F(GraphOpsTest, FileNamesAreFullPathsSharedOrDropped) {
  StartInGameMode();
  const int a = MakeGraph(8, 8, 0);
  const int b = MakeGraph(8, 8, 0);
  ASSERT_EQ(SetGraphFileName(a, "C:\\pict\\..\\data\\boss.png", -1), 0);
  const GraphFileName* block = FindGraphRecord(a)->fileName;
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(block->path), "C:\\data\\boss.png");
  ASSERT_EQ(SetGraphFileName(b, nullptr, a), 0);
  EXPECT_EQ(FindGraphRecord(b)->fileName, block);
  EXPECT_EQ(block->refCount, 2);
  ASSERT_EQ(SetGraphFileName(a, nullptr, -1), 0);
  EXPECT_EQ(FindGraphRecord(a)->fileName, nullptr);
  EXPECT_EQ(block->refCount, 1);
  EXPECT_EQ(SetGraphFileName(b, nullptr, a + 0x10000), -1);  // a stale other graph
  EXPECT_EQ(FindGraphRecord(b)->fileName, block);
}

TEST_F(GraphOpsTest, FillingChangesOnlyGraphsThatCanBeDrawnTo) {
  StartInGameMode();
  const int plain = MakeGraph(16, 16, 0x102030);
  EXPECT_EQ(FillGraphColor(plain, 255, 0, 0, 255), 0);
  EXPECT_EQ(GraphPixel(plain, 3, 3), 0xFF102030u);
  const int target = MakeDrawableGraph(16, 16);
  ASSERT_GE(target, 0);
  EXPECT_EQ(FillGraphColor(target, 300, 128, -5, 255), 0);
  EXPECT_EQ(GraphPixel(target, 15, 15) & 0xFFFFFF, 0xFF8000u);
}

TEST_F(GraphOpsTest, SoftwareFillFollowsTheBrightness) {
  ASSERT_EQ(SetUseHardwareRenderer(0), 0);
  StartInGameMode();
  const int graph = MakeGraph(16, 16, 0x102030);
  EXPECT_EQ(FillGraphColor(graph, 300, 128, 0, 0), 0);
  EXPECT_EQ(GraphPixel(graph, 15, 15), 0xFF8000u);
  SetDrawBrightness(128, 255, 255);
  EXPECT_EQ(FillGraphColor(graph, 255, 0, 0, 0), 0);
  EXPECT_EQ(GraphPixel(graph, 0, 0), 0x7F0000u);  // 255 x 128 >> 8
}

// ---- The draw target read back, on both renderers ----

class DrawScreenReadTest : public GraphOpsTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    GraphOpsTest::SetUp();
    if (!GetParam()) {
      ASSERT_EQ(SetUseHardwareRenderer(0), 0);
    }
    StartInGameMode();
    ASSERT_EQ(HardwareRendererInUse(), GetParam());
    SetScreenBackgroundColor(0x336699);
    const int top[4] = {0, 0, 882, 10};
    ClearDrawTarget(nullptr);
    SetScreenBackgroundColor(0xCC8844);
    ClearDrawTarget(top);
  }
};

TEST_P(DrawScreenReadTest, LockGivesTheTargetsPixels) {
  const RECT rect{5, 5, 25, 15};
  BaseImage image{};
  ASSERT_EQ(LockDrawScreen(&rect, &image), 0);
  EXPECT_EQ(image.width, 20);
  EXPECT_EQ(image.height, 10);
  EXPECT_EQ(image.format.bytesPerPixel, 4);
  EXPECT_EQ(Pixel32(image.pixels, image.pitch, 0, 4) & 0xFFFFFF, 0xCC8844u);
  EXPECT_EQ(Pixel32(image.pixels, image.pitch, 19, 5) & 0xFFFFFF, 0x336699u);
  EXPECT_EQ(LockDrawScreen(&rect, &image), -1);  // already locked
  EXPECT_EQ(UnlockDrawScreen(), 0);
  EXPECT_EQ(UnlockDrawScreen(), 0);
  const std::vector<RECT> refused = {{-1, 0, 10, 10}, {0, 0, 883, 10}, {10, 0, 10, 10}, {0, 5, 10, 4}, {0, 0, 1, 821}};
  for (const RECT& r : refused) EXPECT_EQ(LockDrawScreen(&r, &image), -1) << r.left << "," << r.top;
  EXPECT_EQ(LockDrawScreen(nullptr, &image), -1);
}

TEST_P(DrawScreenReadTest, CopyPutsTheRectangleIntoAGraphOfItsSize) {
  const int graph = MakeGraph(16, 16, 0);
  ASSERT_EQ(CopyDrawScreenToGraph(100, 2, 116, 18, graph), 0);
  EXPECT_EQ(GraphPixel(graph, 0, 7) & 0xFFFFFF, 0xCC8844u);
  EXPECT_EQ(GraphPixel(graph, 15, 8) & 0xFFFFFF, 0x336699u);
  EXPECT_EQ(CopyDrawScreenToGraph(100, 2, 117, 18, graph), -1);  // another size
  EXPECT_EQ(CopyDrawScreenToGraph(870, 2, 886, 18, graph), -1);  // past the target
  EXPECT_EQ(CopyDrawScreenToGraph(116, 2, 100, 18, graph), -1);
}

INSTANTIATE_TEST_SUITE_P(Renderers, DrawScreenReadTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Device" : "Software"; });

// Every software graph can be drawn to; on the device only some.
TEST_F(GraphOpsTest, CopyIntoAGraphTheDeviceDrawsTo) {
  StartInGameMode();
  SetScreenBackgroundColor(0x336699);
  ClearDrawTarget(nullptr);
  const int top[4] = {0, 0, 882, 10};
  SetScreenBackgroundColor(0xCC8844);
  ClearDrawTarget(top);
  const int graph = MakeDrawableGraph(16, 16);
  ASSERT_EQ(CopyDrawScreenToGraph(0, 2, 16, 18, graph), 0);
  EXPECT_EQ(GraphPixel(graph, 3, 7) & 0xFFFFFF, 0xCC8844u);
  EXPECT_EQ(GraphPixel(graph, 3, 8) & 0xFFFFFF, 0x336699u);
}

TEST_F(GraphOpsTest, ASoftwareGraphIsADrawTargetUntilItIsDeleted) {
  ASSERT_EQ(SetUseHardwareRenderer(0), 0);
  StartInGameMode();
  const int graph = MakeGraph(40, 30, 0x000000);
  ASSERT_EQ(SelectDrawTarget(graph), 0);
  EXPECT_EQ(GetDrawTarget(), graph);
  EXPECT_EQ(DrawTargetMemImg, &FindGraphRecord(graph)->view);
  EXPECT_EQ(DrawTargetSize[0], 40);
  EXPECT_EQ(DrawArea.bottom, 30);
  SetScreenBackgroundColor(0x123456);
  ClearDrawTarget(nullptr);
  EXPECT_EQ(GraphPixel(graph, 39, 29), 0x123456u);
  ASSERT_EQ(DeleteGraph(graph), 0);
  EXPECT_EQ(GetDrawTarget(), -2);
  EXPECT_EQ(DrawTargetSize[0], 882);
}

TEST_F(GraphOpsTest, TheDeviceDrawsOnlyIntoGraphsMadeForIt) {
  StartInGameMode();
  const int plain = MakeGraph(16, 16, 0);
  EXPECT_EQ(SelectDrawTarget(plain), -1);
  EXPECT_EQ(GetDrawTarget(), -2);
  const int target = MakeDrawableGraph(32, 16);
  ASSERT_EQ(SelectDrawTarget(target), 0);
  EXPECT_EQ(DrawTargetSize[0], 32);
  SetScreenBackgroundColor(0x00FF00);
  ClearDrawTarget(nullptr);
  EXPECT_EQ(GraphPixel(target, 31, 15) & 0xFFFFFF, 0x00FF00u);
  ASSERT_EQ(SelectDrawTarget(-2), 0);
  EXPECT_EQ(DrawTargetSize[0], 882);
}

TEST_F(GraphOpsTest, FogSettersStoreAndSendOnlyChanges) {
  StartInGameMode();
  EXPECT_EQ(SetFogColor(0x1FF, 0x100, 0x2A), 0);
  EXPECT_EQ(Fog.color, 0xFFFF002Au);
  EXPECT_EQ(DeviceCache().fogColor, 0xFFFF002Au);
  EXPECT_EQ(SetFogMode(1), 0);
  EXPECT_EQ(Fog.mode, 1u);
  EXPECT_EQ(DeviceCache().fogMode, 1);
  EXPECT_EQ(SetFogStartEnd(10.0f, 20.0f), 0);
  EXPECT_EQ(Fog.start, 10.0f);
  EXPECT_EQ(DeviceCache().fogEnd, 20.0f);
  // A device copy that differs from the stored value is sent again.
  DeviceCache().fogMode = 0;
  EXPECT_EQ(SetFogMode(1), 0);
  EXPECT_EQ(DeviceCache().fogMode, 1);
}

TEST_F(GraphOpsTest, MatrixSettersStoreTheMatricesAndUpdateTheDerivedData) {
  StartInGameMode();
  float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float moved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
  ASSERT_EQ(SetViewMatrix(identity), 0);
  ASSERT_EQ(SetProjectionMatrix(identity), 0);
  ASSERT_EQ(SetViewportMatrix(identity), 0);
  ASSERT_EQ(SetWorldMatrix(moved), 0);
  const CameraState& camera = Camera();
  EXPECT_EQ(camera.viewDerivedValid, 1);
  EXPECT_EQ(camera.world.m[3][0], 5.0f);
  EXPECT_EQ(camera.worldViewProjectionViewport.m[3][1], 6.0f);
  EXPECT_EQ(camera.worldViewProjectionViewport.m[3][2], 7.0f);
  EXPECT_EQ(SetWorldMatrix(nullptr), -1);
  EXPECT_EQ(SetProjectionMatrix(nullptr), -1);
}

// Every graph function refuses a handle that is not a live graph's.
TEST_F(GraphOpsTest, BadHandlesAreRefusedEverywhere) {
  StartInGameMode();
  const int deleted = MakeGraph(8, 8, 0);
  ASSERT_EQ(DeleteGraph(deleted), 0);
  const int live = MakeGraph(8, 8, 0);
  struct Handle {
    const char* what;
    int value;
  };
  const std::vector<Handle> handles = {
      {"minus one", -1},
      {"wrong kind", (live & ~0x78000000) | 0x70000000},
      {"deleted", deleted},
      {"stale check value", live ^ 0x00010000},
  };
  BaseImage image{};
  ASSERT_EQ(CreateArgbBaseImage(8, 8, &image), 0);
  int flag = 5;
  for (const Handle& h : handles) {
    SCOPED_TRACE(h.what);
    EXPECT_EQ(DeleteGraph(h.value), -1);
    EXPECT_EQ(SetGraphDeleteNotifyFlag(h.value, &flag), -1);
    EXPECT_EQ(SetGraphFileName(h.value, "x.png", -1), -1);
    if (h.value != -1) {
      EXPECT_EQ(SetGraphFileName(live, nullptr, h.value), -1);
    }
    EXPECT_EQ(SetGraphImage(nullptr, nullptr, nullptr, nullptr, nullptr, 0, &image, nullptr, 0, 0, h.value, 0), -1);
    EXPECT_EQ(SetGraphImageRect(nullptr, nullptr, nullptr, nullptr, nullptr, 0, &image, nullptr, nullptr, 0, 0,
                                h.value, 0),
              -1);
    EXPECT_EQ(FillGraphColor(h.value, 1, 2, 3, 4), -1);
    EXPECT_EQ(DeriveGraph(0, 0, 4, 4, h.value), -1);
    EXPECT_EQ(CopyDrawScreenToGraph(0, 0, 8, 8, h.value), -1);
    EXPECT_EQ(SelectDrawTarget(h.value), -1);
  }
  EXPECT_EQ(flag, 5);
  EXPECT_EQ(SetGraphImage(nullptr, nullptr, nullptr, nullptr, nullptr, 1, nullptr, nullptr, 0, 0, live, 0), -1);
  EXPECT_EQ(SetGraphImage(nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, 0, 0, live, 0), -1);
  ReleaseBaseImage(&image);
  EXPECT_EQ(GetDrawTarget(), -2);
}

TEST_F(GraphOpsTest, SetGraphImagePutsAPictureOrADibAtItsSourcePosition) {
  StartInGameMode();
  const int graph = MakeGraph(4, 2, 0);
  BaseImage image{};
  ASSERT_EQ(CreateArgbBaseImage(8, 4, &image), 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) SetBaseImagePixel(&image, x, y, x * 16, y * 16, 0x55, 255);
  ASSERT_EQ(SetGraphImage(nullptr, nullptr, nullptr, nullptr, nullptr, 0, &image, nullptr, 2, 1, graph, 9), 0);
  EXPECT_EQ(GraphPixel(graph, 0, 0) & 0xFFFFFF, 0x201055u);
  EXPECT_EQ(FindGraphRecord(graph)->fileX, 2);
  EXPECT_EQ(FindGraphRecord(graph)->loadFlag, 9);
  ReleaseBaseImage(&image);

  // A bottom-up 24-bit DIB of 4 x 2: the lower row comes first.
  struct {
    BITMAPINFOHEADER header;
    std::uint8_t bits[2][12];
  } dib{};
  dib.header = {40, 4, 2, 1, 24, 0, 0, 0, 0, 0, 0};
  for (int x = 0; x < 4; ++x) {
    dib.bits[0][x * 3 + 2] = 0xAA;  // the lower row red
    dib.bits[1][x * 3 + 0] = 0xBB;  // the upper row blue
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(&dib.header);
  ASSERT_EQ(SetGraphImage(dib.bits, info, nullptr, nullptr, nullptr, 1, nullptr, nullptr, 0, 0, graph, 0), 0);
  EXPECT_EQ(GraphPixel(graph, 1, 0) & 0xFFFFFF, 0x0000BBu);
  EXPECT_EQ(GraphPixel(graph, 1, 1) & 0xFFFFFF, 0xAA0000u);
}

}  // namespace
