// The cached light, material and ambient setters: a value is sent once,
// again while resending, and the light table sends through them.
#include "graphics/device_lights.h"

#include "device_draw_fixture.h"
#include "graphics/camera_lights.h"

namespace {

using wqtest::DeviceDrawTest;

TEST_F(DeviceDrawTest, LightMaterialAndAmbientAreSentOnceAndAgainWhileResending) {
  D_D3DLIGHT9 light{};
  light.Type = D_D3DLIGHT_POINT;
  light.Range = 100.0f;
  D_D3DMATERIAL9 material{};
  material.Power = 5.0f;
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(SetDeviceLight(7, light), 0);
    EXPECT_EQ(SetDeviceLightEnable(7, 1), 0);
    EXPECT_EQ(SetDeviceMaterial(material), 0);
    EXPECT_EQ(SetDeviceAmbientColor(0xFF102030u), 0);
  }
  EXPECT_EQ(device_.Count("SetLight 7"), 1);
  EXPECT_EQ(device_.Count("LightEnable 7 1"), 1);
  EXPECT_EQ(device_.Count("SetMaterial"), 1);
  EXPECT_EQ(device_.Count("SetRenderState 139 4279246896"), 1);
  EXPECT_EQ(GetDeviceAmbientColor(), 0xFF102030u);
  DeviceStateResend = 1;
  SetDeviceLight(7, light);
  SetDeviceAmbientColor(0xFF102030u);
  DeviceStateResend = 0;
  EXPECT_EQ(device_.Count("SetLight 7"), 2);
  EXPECT_EQ(device_.Count("SetRenderState 139"), 2);
  EXPECT_EQ(SetDeviceLight(256, light), -1);
  EXPECT_EQ(SetDeviceLightEnable(-1, 1), -1);
}

TEST_F(DeviceDrawTest, RefreshedLightsGoToTheDeviceThroughTheCache) {
  const int light = CreateDirectionalLight(0.0f, 0.0f, 1.0f);
  ASSERT_NE(light, -1);
  RefreshLights();
  const int sent = device_.Count("SetLight");
  EXPECT_GE(sent, 1);
  EXPECT_GE(device_.Count("LightEnable"), 1);
  MarkAllLightsChanged();
  RefreshLights();  // the device holds them already
  EXPECT_EQ(device_.Count("SetLight"), sent);
  DeleteLight(light);
  RefreshLights();
  EXPECT_GE(device_.Count("LightEnable"), 1);
  DeleteAllLights(1);
}

}  // namespace
