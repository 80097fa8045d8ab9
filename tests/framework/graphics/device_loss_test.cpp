// A device lost under the program is rebuilt at the next frame; the program
// goes on with the same draw target, screen mode and render state.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/graphics_start.h"
#include "graphics/render_state.h"
#include "graphics_fixture.h"

namespace {

using wqtest::GraphicsTest;

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(GraphicsTest, ALostDeviceIsRebuiltByTheNextFrame) {
  StartInGameMode();
  SetBlendMode(2, 100);
  SetDrawBrightness(10, 20, 30);
  SetDrawMode(1);
  SetDrawArea(10, 20, 100, 200);
  const int releasesBefore = CountOf(ReadLog(), "Direct3DDevice9 の解放 3");

  WqControlLoseD3d9Devices();
  ClearDrawTarget(nullptr);
  EXPECT_EQ(PresentScreen(), 0);  // the loss is noticed; the program goes on
  EXPECT_EQ(Graphics().deviceLost, 1);
  ClearDrawTarget(nullptr);
  EXPECT_EQ(PresentScreen(), 0);  // the next frame rebuilds the device
  EXPECT_EQ(Graphics().deviceLost, 0);
  EXPECT_EQ(IsDirect3DRendererInUse(), 1);
  EXPECT_EQ(Graphics().device->TestCooperativeLevel(), D_D3D_OK);
  EXPECT_EQ(CountOf(ReadLog(), "Direct3DDevice9 の解放 3"), releasesBefore + 1);

  EXPECT_EQ(GetDrawTarget(), -2);
  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  EXPECT_EQ(width, 882);
  EXPECT_EQ(height, 820);
  EXPECT_EQ(GetScreenColorBits(), 32);
  EXPECT_EQ(BlendMode, 2u);
  EXPECT_EQ(BlendParam, 100u);
  EXPECT_EQ(DrawBright, 0x0A141Eu);
  EXPECT_EQ(GetDrawMode(), 1);
  EXPECT_EQ(DrawArea.left, 10);
  EXPECT_EQ(DrawArea.top, 20);
  EXPECT_EQ(DrawArea.right, 100);
  EXPECT_EQ(DrawArea.bottom, 200);
  ExpectClearedFrameShown(0x204060);
}

TEST_F(GraphicsTest, ARebuildWithoutDirect3DFallsBackToTheSoftwareScreen) {
  StartInGameMode();
  WqControlLoseD3d9Devices();
  WqControlSetD3d9CallFails("CreateDevice", true);
  EXPECT_EQ(PresentScreen(), 0);
  EXPECT_EQ(PresentScreen(), 0);
  EXPECT_EQ(IsDirect3DRendererInUse(), 0);
  EXPECT_EQ(GetDrawTarget(), -2);
  ExpectClearedFrameShown(0x204060);  // a screen that draws, not a dead one
}

}  // namespace
