// Full screen at start-up and on a later switch: a screen size that is not
// a display mode falls back to (or stays in) window mode, except 320 x 240,
// which the hardware renderer shows enlarged on 640 x 480.
#include <gtest/gtest.h>

#include "WqLib.h"
#include "core/window/window_system_state.h"
#include "graphics/graphics_placeholders.h"
#include "startup_test_support.h"

namespace {

struct FullScreenCase {
  const char* name;
  int width;
  int height;
  int hardwareAllowed;
  int fullScreen;  // after the request
  int screenWidth;
  int screenHeight;
};

const FullScreenCase kCases[] = {
    {"EmulatedWithTheHardwareRenderer", 320, 240, 1, 1, 640, 480},
    {"RefusedWithTheSoftwareRenderer", 320, 240, 0, 0, 320, 240},
    {"NotADisplayMode", 700, 500, 1, 0, 700, 500},
};

class FullScreenRequestTest : public wqtest::LibraryTest, public testing::WithParamInterface<FullScreenCase> {
 protected:
  void SetUp() override {
    wqtest::LibraryTest::SetUp();
    ASSERT_EQ(SetUseHardwareRenderer(GetParam().hardwareAllowed), 0);
    ASSERT_EQ(SetScreenMode(GetParam().width, GetParam().height, 32, 60), 0);
  }

  void ExpectScreen() {
    const FullScreenCase& test = GetParam();
    EXPECT_EQ(IsWindowMode(), test.fullScreen ? 0 : 1);
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    EXPECT_EQ(width, test.screenWidth);
    EXPECT_EQ(height, test.screenHeight);
  }
};

TEST_P(FullScreenRequestTest, AtStartUp) {
  ASSERT_EQ(ChangeWindowMode(0), 0);
  ASSERT_EQ(StartLibrary(), 0);
  ExpectScreen();
}

TEST_P(FullScreenRequestTest, AfterStartUp) {
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_EQ(ChangeWindowMode(0), GetParam().fullScreen ? 0 : -1);
  ExpectScreen();
}

INSTANTIATE_TEST_SUITE_P(Sizes, FullScreenRequestTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FullScreenCase>& info) { return info.param.name; });

}  // namespace
