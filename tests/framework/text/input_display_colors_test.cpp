// Text input's fifteen display colours, set at start-up in the screen's
// colour format of that moment.
#include "core/window/text_input_state.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

class InputDisplayColorsTest : public TextTest {};

TEST_F(InputDisplayColorsTest, StartUpSetsTheFifteenColours) {
  SetUseHardwareRenderer(0);
  ASSERT_EQ(StartLibrary(), 0);
  const int expected[15][3] = {{255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {0, 255, 255}, {255, 255, 255},
                               {255, 0, 0},     {255, 255, 20}, {0, 0, 0},      {0, 0, 0},     {0, 0, 0},
                               {255, 255, 0},   {0, 0, 0},      {255, 255, 255}, {0, 0, 0},    {128, 128, 128}};
  EXPECT_EQ(GetScreenColorBits(), 16);
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(TextInput().displayColors[i], MakeColor(expected[i][0], expected[i][1], expected[i][2])) << i;
  EXPECT_EQ(TextInput().displayColors[1], 0xFFE0u);  // yellow in RGB565
}

}  // namespace
