// Graphics start-up and shutdown through the real window and the platform's
// device: the log of the device's making, the game's mode change, the
// software screen when Direct3D is not wanted or not there, and the release
// of every device object at the end.
#include "graphics/graphics_start.h"

#include <gtest/gtest.h>

#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "graphics_fixture.h"

namespace {

using wqtest::ExpectLogInOrder;
using wqtest::GraphicsTest;

TEST_F(GraphicsTest, DeviceComesUpTwiceAndLogsItsFormats) {
  StartInGameMode();
  EXPECT_EQ(IsDirect3DRendererInUse(), 1);
  EXPECT_EQ(GetScreenMemImg(), nullptr);
  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  EXPECT_EQ(width, 882);
  EXPECT_EQ(height, 820);
  EXPECT_EQ(GetScreenColorBits(), 32);
  D_D3DSURFACE_DESC desc{};
  Graphics().backBuffer->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 882u);
  EXPECT_EQ(desc.Height, 820u);
  ClearDrawTarget(nullptr);
  ASSERT_EQ(PresentScreen(), 0);
  std::vector<std::uint32_t> pixels = ReadWindow(&width, &height);
  EXPECT_EQ(width, 882);
  EXPECT_EQ(height, 820);

  const std::vector<std::string> deviceLines = {
      "DirectDraw オブジェクトの取得を行います....  成功\r\n",
      "IDirect3D9 オブジェクトを取得します.... 成功\r\n",
      "IDirect3DDevice9 オブジェクトを取得します.... ハードウエア頂点演算を使用します\r\n",
      "画面のフォーマットは D3DFMT_X8R8G8B8 です",
      "Ｚバッファのフォーマットは D3DFMT_D",
      "16bit カラーフォーマットは D_D3DFMT_R5G6B5 です",
      "32bit カラーフォーマットは D_D3DFMT_X8R8G8B8 です",
      "描画用 32bit カラーフォーマットは D_D3DFMT_X8R8G8B8 です",
      "減算合成のハードウェア対応：",
      "Ｚバッファを作成します.... 成功\r\n",
      "プログラマブルシェーダーを使用しません\r\n",
  };
  const std::string log = ReadLog();
  ExpectLogInOrder(log, deviceLines);
  // The game's mode change builds the device a second time.
  ExpectLogInOrder(log, {"画面モード変更処理を開始します", "Direct3DDevice9 の解放 3",
                         "画面のフォーマットは D3DFMT_X8R8G8B8 です", "画面モード変更処理は正常に終了しました"});
}

TEST_F(GraphicsTest, ShutdownReleasesEveryDeviceObject) {
  StartInGameMode();
  D_IDirect3DDevice9* device = Graphics().device;
  D_IDirect3D9* direct3d = Graphics().direct3d;
  ASSERT_NE(device, nullptr);
  // Our own references keep the objects alive to look at afterwards.
  device->AddRef();
  direct3d->AddRef();
  EndLibrary();
  EXPECT_EQ(Graphics().device, nullptr);
  EXPECT_EQ(IsGraphicsStarted(), 0);
  EXPECT_EQ(device->Release(), 0u);  // the framework held nothing more of it
  EXPECT_EQ(direct3d->Release(), 0u);
}

struct FallbackCase {
  const char* name;
  void (*arrange)();
  const char* logLine;
};

void RequestSoftware() { SetUseHardwareRenderer(0); }
void RemoveD3d9() { WqControlSetModuleAbsent("d3d9.dll", true); }
void FailCreate9() { WqControlSetD3d9CallFails("Direct3DCreate9", true); }
void FailCreateDevice() { WqControlSetD3d9CallFails("CreateDevice", true); }
void RefuseDepthFormats() {
  for (D_D3DFORMAT format : {D_D3DFMT_D16, D_D3DFMT_D24X8, D_D3DFMT_D32}) WqControlSetD3d9FormatRefused(format, true);
}

class SoftwareScreenTest : public GraphicsTest, public testing::WithParamInterface<FallbackCase> {};

TEST_P(SoftwareScreenTest, TheScreenIsASoftwareImageAndPresentsThroughGdi) {
  GetParam().arrange();
  StartInGameMode();
  EXPECT_EQ(IsDirect3DRendererInUse(), 0);
  MEMIMG* screen = GetScreenMemImg();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->width, 882);
  EXPECT_EQ(screen->height, 820);
  EXPECT_EQ(screen->data->colorType, kMemImgRgb32);
  EXPECT_EQ(Graphics().device, nullptr);
  ExpectClearedFrameShown(0x336699);
  if (GetParam().logLine[0]) ExpectLogInOrder(ReadLog(), {GetParam().logLine});
}

INSTANTIATE_TEST_SUITE_P(
    Causes, SoftwareScreenTest,
    testing::Values(FallbackCase{"Requested", RequestSoftware, ""},
                    FallbackCase{"NoD3d9Dll", RemoveD3d9, "d3d9.dll の読み込みに失敗しました"},
                    FallbackCase{"NoDirect3D", FailCreate9, "IDirect3D9 オブジェクトの取得に失敗しました"},
                    FallbackCase{"NoDevice", FailCreateDevice, "Direct3DDevice9 の作成に失敗しました"},
                    FallbackCase{"NoDepthFormat", RefuseDepthFormats,
                                 "使用できる Zバッファフォーマットが見つかりませんでした"}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsTest, HardwareScreenShowsTheSameClearedFrame) {
  StartInGameMode();
  ExpectClearedFrameShown(0x336699);
}

}  // namespace
