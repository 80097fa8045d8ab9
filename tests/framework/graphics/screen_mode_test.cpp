// Screen modes before and after start-up, colour values in the screen's
// format, the render-state setters' clamps and the draw target's checks.
#include "graphics/screen_mode.h"

#include <gtest/gtest.h>

#include "core/window/window_system_state.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_start.h"
#include "graphics/render_state.h"
#include "graphics_fixture.h"
#include "image/blend_tables.h"

namespace {

using wqtest::GraphicsTest;

TEST_F(GraphicsTest, ModesBeforeStartAreStoredAndBadOnesRefused) {
  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_EQ(GetScreenColorBits(), 16);
  EXPECT_EQ(SetScreenMode(882, 820, 24, 60), -1);
  EXPECT_EQ(SetScreenMode(0, 820, 32, 60), -1);
  GetScreenSize(&width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(SetScreenMode(800, 600, 32, 0), 0);
  GetScreenSize(&width, &height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  EXPECT_EQ(SelectDrawTarget(-2), -1);  // nothing to draw on before start-up
  EXPECT_EQ(SetUseHardwareRenderer(0), 0);
  EXPECT_EQ(GetUseHardwareRenderer(), 0);
}

TEST_F(GraphicsTest, ModeChangesAfterStartRebuildAndSameModeDoesNothing) {
  StartInGameMode();
  EXPECT_EQ(GetDrawTarget(), -2);
  const std::string logBefore = ReadLog();
  EXPECT_EQ(SetScreenMode(882, 820, 32, 60), 0);
  EXPECT_EQ(ReadLog(), logBefore);
  EXPECT_EQ(SetUseHardwareRenderer(1), -1);
  EXPECT_EQ(SetScreenMode(640, 480, 32, 60), 0);
  EXPECT_EQ(GetDrawTarget(), -2);  // selected again after the rebuild
  EXPECT_EQ(IsDirect3DRendererInUse(), 1);
  RECT client{};
  GetClientRect(GetMainWindow(), &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  RECT area{};
  GetDrawArea(&area);
  EXPECT_EQ(area.right, 640);
  EXPECT_EQ(area.bottom, 480);
}

TEST_F(GraphicsTest, DrawTargetsOtherThanTheScreensAreRefused) {
  StartInGameMode();
  for (int target : {-7, -1, 0, 1, 0x08000001, 0x7FFFFFFF}) EXPECT_EQ(SelectDrawTarget(target), -1) << target;
  EXPECT_EQ(GetDrawTarget(), -2);
  SetDrawArea(10, 20, 30, 40);
  for (int target : {-2, -3, -4, -5}) EXPECT_EQ(SelectDrawTarget(target), 0) << target;
  RECT area{};
  GetDrawArea(&area);  // targets of the same size keep the draw area
  EXPECT_EQ(area.left, 10);
  EXPECT_EQ(area.bottom, 40);
}

TEST_F(GraphicsTest, ColoursFollowTheScreenFormat) {
  StartInGameMode();
  EXPECT_EQ(MakeColor(100, 150, 200), 0xFF6496C8u);
  EXPECT_EQ(MakeColor(256 + 5, 0, 0), 0xFF050000u);
  std::uint32_t r = 0, g = 0, b = 0;
  UnpackColor(0xFF6496C8u, &r, &g, &b);
  EXPECT_EQ(r, 100u);
  EXPECT_EQ(g, 150u);
  EXPECT_EQ(b, 200u);
}

TEST_F(GraphicsTest, SixteenBitSoftwareScreenColours) {
  SetUseHardwareRenderer(0);
  ASSERT_EQ(SetScreenMode(640, 480, 16, 60), 0);
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(GetScreenColorBits(), 16);
  EXPECT_EQ(MakeColor(100, 150, 200), 0x64B9u);
  std::uint32_t r = 0, g = 0, b = 0;
  UnpackColor(0x64B9, &r, &g, &b);
  EXPECT_EQ(r, 98u);
  EXPECT_EQ(g, 149u);
  EXPECT_EQ(b, 205u);
}

TEST_F(GraphicsTest, RenderStateSettersClampAndSortTheirValues) {
  SetUseHardwareRenderer(0);
  StartInGameMode();
  SetBlendMode(1, 300);
  EXPECT_EQ(BlendParam, 255u);
  SetBlendMode(1, -5);
  EXPECT_EQ(BlendParam, 0u);
  SetBlendMode(99, 10);
  EXPECT_EQ(BlendMode, 99u);
  SetDrawBrightness(300, -1, 128);
  EXPECT_EQ(DrawBright, 0xFF0080u);

  SetBlendMode(0, 128);
  SetDrawBrightness(255, 255, 255);
  EXPECT_EQ(GetDrawVertexColor(), 0xFFFFFFFFu);
  SetBlendMode(1, 128);
  EXPECT_EQ(GetDrawVertexColor(), 0x80FFFFFFu);

  SetDrawArea(100, 80, 20, 10);
  EXPECT_EQ(DrawArea.left, 20);
  EXPECT_EQ(DrawArea.top, 10);
  EXPECT_EQ(DrawArea.right, 100);
  EXPECT_EQ(DrawArea.bottom, 80);
  SetDrawArea(-50, 0, 1000, 900);
  EXPECT_EQ(DrawArea.left, 0);
  EXPECT_EQ(DrawArea.right, 882);
  EXPECT_EQ(DrawArea.bottom, 820);
  SetDrawArea(5, 5, 5, 100);
  EXPECT_EQ(DrawAreaEmpty, 1);
  SetDrawArea(5, 5, 6, 100);
  EXPECT_EQ(DrawAreaEmpty, 0);
  EXPECT_EQ(DrawAreaRequest.right, 6);

  BlendMemImg = reinterpret_cast<MEMIMG*>(this);  // anything: the setter clears it
  EXPECT_EQ(SetBlendGraph(-1, 128, 255), 0);
  EXPECT_EQ(BlendMemImg, nullptr);
  EXPECT_EQ(BlendImageAlphaTable[200], 200);  // rebuilt for (128, 255): entry i = i
}

}  // namespace
