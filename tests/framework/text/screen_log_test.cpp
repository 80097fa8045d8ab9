// The on-screen log overlay: set up at start, drawn over the frame by the
// present only while switched on (white text with a black edge, one line
// per font height, as many as the screen holds), leaving the draw state as
// it was; its font comes back after being deleted.
#include <cstdio>
#include <string>
#include <vector>

#include "core/base/screen_log.h"
#include "graphics/render_state.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

class ScreenLogTest : public TextTest, public ::testing::WithParamInterface<int> {
 protected:
  static void WriteLine(int index, const char* text) {
    std::snprintf(ScreenLog().lines[index], kScreenLogLineSize, "%s", text);
  }
  std::vector<std::uint32_t> Frame() {
    EXPECT_EQ(PresentScreen(), 0);
    int width = 0, height = 0;
    return ReadWindow(&width, &height);
  }
};

TEST(ScreenLogSetup, RefusedBeforeGraphicsStart) { EXPECT_EQ(SetupScreenLog(), -1); }

TEST_P(ScreenLogTest, TheOverlayDrawsItsLinesOverTheFrameOnlyWhenOn) {
  Start(GetParam(), 320, 100);
  const ScreenLogState& log = ScreenLog();
  ASSERT_EQ(log.setUp, 1);
  EXPECT_EQ(log.fontSize, 16);
  // The screen mode change after start-up deleted every font; the overlay's
  // knows it is lost and is made again.
  EXPECT_EQ(log.fontLost, 1);
  EXPECT_EQ(CreateScreenLogFont(), 0);
  EXPECT_EQ(IsFontHandleValid(log.font), 1);
  EXPECT_EQ(GetScreenLogFlag(), 0);
  for (const auto& line : log.lines) EXPECT_EQ(line[0], '\0');

  // The reference: the same lines drawn as text on a cleared screen.
  const char* lines[] = {"SCORE 0123", "ログ 漢字かなｶﾅ", "", "line 3", "line 4", "line 5", "line 6 below", "line 7"};
  ClearDrawTarget(nullptr);
  for (int i = 0; i < 6; ++i)
    DrawTextWithFont(0, 16 * i, lines[i], MakeColor(255, 255, 255), log.font, MakeColor(0, 0, 0), 0);
  const std::vector<std::uint32_t> reference = Frame();

  for (int i = 0; i < 8; ++i) WriteLine(i, lines[i]);
  ClearDrawTarget(nullptr);
  const std::vector<std::uint32_t> off = Frame();
  for (std::uint32_t pixel : off) ASSERT_EQ(pixel, 0u);  // switched off: nothing drawn

  // Switched on, under a draw state that would change the text: small
  // area, half blend, dark brightness. The present uses its own and puts
  // them back.
  ScreenLog().enabled = 1;
  SetDrawArea(10, 10, 20, 20);
  SetBlendMode(1, 128);
  SetDrawBrightness(40, 40, 40);
  const RECT area = DrawArea;
  ClearDrawTarget(nullptr);
  const std::vector<std::uint32_t> on = Frame();
  EXPECT_EQ(on, reference);  // 100 / 16 = 6 lines: "line 6" at y 96 is not drawn
  EXPECT_EQ(DrawArea.left, area.left);
  EXPECT_EQ(DrawArea.bottom, area.bottom);
  EXPECT_EQ(BlendMode, 1u);
  EXPECT_EQ(BlendParam, 128u);
  EXPECT_EQ(DrawBright, 0x282828u);
  int lit = 0;
  for (std::uint32_t pixel : on) lit += pixel == 0xFFFFFFu ? 1 : 0;
  EXPECT_GT(lit, 100);
}

TEST_P(ScreenLogTest, ADeletedFontIsMadeAgainAtTheNextDraw) {
  Start(GetParam(), 320, 100);
  CreateScreenLogFont();
  const int first = ScreenLog().font;
  ASSERT_EQ(DeleteFont(first), 0);
  EXPECT_EQ(ScreenLog().fontLost, 1);
  WriteLine(0, "again");
  EXPECT_EQ(DrawScreenLog(), 0);
  EXPECT_EQ(ScreenLog().fontLost, 0);
  EXPECT_EQ(IsFontHandleValid(ScreenLog().font), 1);
  if (!GetParam()) {
    EXPECT_GT(CountLitPixels(0, 0, 60, 16), 0);
  }
  EndLibrary();
  EXPECT_EQ(ScreenLog().setUp, 0);
  EXPECT_EQ(ScreenLog().font, -1);
}

INSTANTIATE_TEST_SUITE_P(Renderers, ScreenLogTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param ? std::string("Device") : std::string("SoftwareScreen");
                         });

}  // namespace
