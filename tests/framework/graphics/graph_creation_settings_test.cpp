// The settings of the graphs to be made and the draw-state values that the
// start-up reset gives back: creation flags, colour key, fog and the mask
// request.
#include "graphics/graph_creation_settings.h"

#include <gtest/gtest.h>

#include "WqLib.h"
#include "graphics/camera_lights.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"

namespace {

TEST(GraphCreationSettingsTest, TheDrawStateResetGivesBackEveryDefault) {
  SetCreateGraphColorBits(32);
  SetCreateDrawableGraphFlag(0);
  SetCreateGraphAlphaFlag(1);
  SetCreateGraphMovieFlag(1);
  SetCreateGraphSystemMemCopyFlag(1);
  SetUseTransparentColor(0);
  SetTransparentColor(1, 2, 3);
  Fog = FogSettings{1, 0xFF102030u, 5.0f, 6.0f};
  MaskScreenRequested = 0;

  ASSERT_EQ(InitGraphicsDrawState(), 0);
  EXPECT_EQ(GetCreateGraphColorBits(), 0);
  EXPECT_EQ(GetCreateDrawableGraphFlag(), 1);
  EXPECT_EQ(GetCreateGraphAlphaFlag(), 0);
  EXPECT_EQ(GetCreateGraphMovieFlag(), 0);
  EXPECT_EQ(GetCreateGraphSystemMemCopyFlag(), 0);
  EXPECT_EQ(GraphCreation().blendImageFlag, 0);
  EXPECT_EQ(GraphCreation().defaultMipLevels, -1);
  EXPECT_EQ(UseTransparentColor, 1);
  EXPECT_EQ(TransparentColor, 0u);
  EXPECT_EQ(Fog.mode, 3u);
  EXPECT_EQ(Fog.color, 0xFFFFFFFFu);
  EXPECT_EQ(Fog.start, 0.0f);
  EXPECT_EQ(Fog.end, 1500.0f);
  EXPECT_EQ(MaskScreenRequested, 1);
  EXPECT_EQ(MaskScreenEffective, 0);
}

TEST(GraphCreationSettingsTest, TheColourKeyIsPackedAndLeftAloneOnAnEightBitScreen) {
  const struct {
    int colorBits;
    int red, green, blue;
    std::uint32_t expected;
  } cases[] = {
      {16, 0x12, 0x34, 0x56, 0x123456u},
      {32, 0x1FF, -1, 0, 0xFFFF00u},  // each channel keeps its low byte
      {8, 0x12, 0x34, 0x56, 0xABCDEFu},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.colorBits);
    Screen().colorBits = c.colorBits;
    TransparentColor = 0xABCDEFu;
    EXPECT_EQ(SetTransparentColor(c.red, c.green, c.blue), 0);
    EXPECT_EQ(TransparentColor, c.expected);
  }
  SetUseTransparentColor(0);
  EXPECT_EQ(UseTransparentColor, 0);
  SetUseTransparentColor(5);
  EXPECT_EQ(UseTransparentColor, 1);
}

}  // namespace
