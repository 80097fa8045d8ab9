// Lights and the colour of full brightness: handles and their table, and
// the hue-keeping brightness mapping of the shader path.
#include "graphics/camera_lights.h"

#include <gtest/gtest.h>

#include "graphics/graphics_start.h"

namespace {

TEST(LightTest, DirectionsAreNormalisedAndTheTopSlotLowersTheRange) {
  const int first = CreateDirectionalLight(0.0f, 0.0f, 2.0f);
  const int second = CreateDirectionalLight(3.0f, 4.0f, 0.0f);
  const int third = CreateDirectionalLight(1.0f, 0.0f, 0.0f);
  ASSERT_NE(first, -1);
  EXPECT_EQ(first & 0x78000000, 0x48000000);
  EXPECT_EQ(GetLightCount(), 3);
  RefreshLights();
  // Directional lights take the device slots in table order.
  const D_D3DLIGHT9* light = GetDeviceLightSlot(0);
  ASSERT_NE(light, nullptr);
  EXPECT_FLOAT_EQ(light->Direction.z, 1.0f);
  EXPECT_FLOAT_EQ(GetDeviceLightSlot(1)->Direction.x, 0.6f);
  EXPECT_FLOAT_EQ(GetDeviceLightSlot(1)->Direction.y, 0.8f);
  EXPECT_EQ(GetDeviceLightType(2), 3);

  EXPECT_EQ(DeleteLight(second), 0);
  EXPECT_EQ(DeleteLight(second), -1);  // stale
  EXPECT_EQ(DeleteLight(third), 0);    // the top slot: the range drops past the empty one
  const int reused = CreateDirectionalLight(0.0f, 1.0f, 0.0f);
  EXPECT_EQ(reused & 0xFFFF, 1);
  EXPECT_NE(reused, second);  // a new check value
  EXPECT_EQ(DeleteAllLights(1), 0);
  EXPECT_EQ(GetLightCount(), 0);
  EXPECT_EQ(DeleteLight(first), -1);
}

TEST(TransformVectorTest, TheTranslationRowCountsOnlyInTheFullTransform) {
  const float m[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 2, 0, 10, 20, 30, 1};  // turn, scale z, move
  const float v[3] = {1, 2, 3};
  float out[3];
  TransformVector4x4(out, v, m);
  EXPECT_FLOAT_EQ(out[0], 8.0f);
  EXPECT_FLOAT_EQ(out[1], 21.0f);
  EXPECT_FLOAT_EQ(out[2], 36.0f);
  TransformVector3x3(out, out, m);  // in place
  EXPECT_FLOAT_EQ(out[0], -21.0f);
  EXPECT_FLOAT_EQ(out[1], 8.0f);
  EXPECT_FLOAT_EQ(out[2], 72.0f);
}

TEST(MaxBrightnessTest, KeepsHueAndSaturationAtFullValue) {
  struct {
    int r, g, b;
    int outR, outG, outB;
  } cases[] = {
      {0, 0, 0, 255, 255, 255},  {255, 0, 0, 255, 0, 0},     {40, 40, 40, 255, 255, 255},  {128, 0, 0, 255, 0, 0},
      {100, 50, 0, 255, 127, 0}, {0, 300, 150, 0, 255, 150}, {200, 100, 50, 255, 128, 64}, {10, 20, 30, 85, 170, 255},
  };
  for (const auto& c : cases) {
    std::uint8_t r = 0, g = 0, b = 0;
    ComputeMaxBrightnessColor(c.r, c.g, c.b, &r, &g, &b);
    EXPECT_EQ(r, c.outR) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(g, c.outG) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(b, c.outB) << c.r << "," << c.g << "," << c.b;
  }
}

}  // namespace
