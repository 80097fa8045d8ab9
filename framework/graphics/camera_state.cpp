// The camera and matrices, and the reset of the draw state.
#include <cstring>

#include "core/window/window_system_state.h"
#include "graphics/camera_lights.h"
#include "graphics/device_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/graph_setup.h"
#include "graphics/draw_target.h"
#include "graphics/graph_creation_settings.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/vertex_batch.h"
#include "graphics/vertical_blank.h"

namespace {

CameraState g_camera;

constexpr float kSixtyDegrees = 1.0471976f;
// tan(30 degrees): the distance at which a 60-degree view spans the height.
constexpr float kTanThirtyDegrees = 0.57735026f;

D_D3DMATERIAL9 DefaultMaterial() {
  D_D3DMATERIAL9 material{};
  material.Diffuse = {0.8f, 0.8f, 0.8f, 1.0f};
  material.Specular = {0.8f, 0.8f, 0.8f, 0.0f};
  material.Power = 20.0f;
  return material;
}

}  // namespace

CameraState& Camera() { return g_camera; }

float* TransformVector4x4(float out[3], const float v[3], const float m[16]) {
  const float x = v[0], y = v[1], z = v[2];
  for (int c = 0; c < 3; ++c) out[c] = x * m[c] + y * m[4 + c] + z * m[8 + c] + m[12 + c];
  return out;
}

float* TransformVector3x3(float out[3], const float v[3], const float m[16]) {
  const float x = v[0], y = v[1], z = v[2];
  for (int c = 0; c < 3; ++c) out[c] = x * m[c] + y * m[4 + c] + z * m[8 + c];
  return out;
}

void SendProjectionToDevice() {
  if (!Device()) return;
  Matrix4 product;
  MatrixMultiply(&product, &g_camera.projection, &g_camera.viewport);
  MatrixMultiply(&product, &product, &g_camera.drawAreaViewportInverse);
  SetDeviceProjectionTransform(&product);
}

void SetDrawAreaViewport(const Matrix4* viewport) {
  g_camera.drawAreaViewport = *viewport;
  if (MatrixInverse(&g_camera.drawAreaViewportInverse, viewport) != 0)
    MatrixIdentity(&g_camera.drawAreaViewportInverse);
  SendProjectionToDevice();
}

const Matrix4* GetWorldMatrix() { return &g_camera.world; }

void SetCameraMaterial(const D_D3DMATERIAL9& material) { g_camera.material = material; }

void SendMaterialToDevice() { SetDeviceMaterial(g_camera.material); }

int UpdateProjection() {
  const float aspect =
      g_camera.mode == kCameraUserMatrix
          ? 0.0f
          : static_cast<float>(DrawTargetSize[1]) / static_cast<float>(DrawTargetSize[0]) * g_camera.aspectScale;
  if (g_camera.mode == kCameraPerspective)
    MatrixPerspective(&g_camera.projection, g_camera.fov, g_camera.nearZ, g_camera.farZ, aspect);
  else if (g_camera.mode == kCameraOrthographic)
    MatrixOrtho(&g_camera.projection, g_camera.orthoSize, g_camera.nearZ, g_camera.farZ, aspect);
  g_camera.viewDerivedValid = 0;
  SendProjectionToDevice();
  return 0;
}

int SetCameraNearFar(float nearZ, float farZ) {
  g_camera.nearZ = nearZ;
  g_camera.farZ = farZ;
  return UpdateProjection();
}

int SetCameraFov(float fov) {
  g_camera.fov = fov;
  g_camera.mode = kCameraPerspective;
  return UpdateProjection();
}

int SetCameraProjectionMatrix(const Matrix4* matrix) {
  g_camera.projection = *matrix;
  g_camera.mode = kCameraUserMatrix;
  return UpdateProjection();
}

int UpdateViewportMatrix(float centreX, float centreY) {
  g_camera.viewportCentreX = centreX;
  g_camera.viewportCentreY = centreY;
  MatrixViewport(&g_camera.viewport, centreX, centreY, g_camera.viewportScale * DrawTargetSize[0],
                 g_camera.viewportScale * DrawTargetSize[1]);
  g_camera.viewDerivedValid = 0;
  SendProjectionToDevice();
  return 0;
}

void UpdateViewDerivedData() {
  if (g_camera.viewDerivedValid) return;
  Matrix4 product;
  MatrixMultiply(&product, &g_camera.view, &g_camera.projection);
  MatrixMultiply(&product, &product, &g_camera.viewport);
  MatrixMultiply(&g_camera.worldViewProjectionViewport, &g_camera.world, &product);
  for (int row = 0; row < 3; ++row) {
    g_camera.right[row] = g_camera.view.m[row][0];
    g_camera.up[row] = g_camera.view.m[row][1];
    g_camera.forward[row] = g_camera.view.m[row][2];
  }
  g_camera.right[3] = g_camera.up[3] = g_camera.forward[3] = 0.0f;
  g_camera.viewDerivedValid = 1;
}

void ResetCameraForTarget(int width, int height) {
  Matrix4 identity;
  MatrixIdentity(&identity);
  SetWorldMatrix(&identity.m[0][0]);
  UpdateViewportMatrix(width / 2.0f, height / 2.0f);
  const float distance = (height / 2.0f) / kTanThirtyDegrees;
  const Vector3 eye{width / 2.0f, height / 2.0f, -distance};
  const Vector3 target{width / 2.0f, height / 2.0f, -distance + 1.0f};
  const Vector3 up{0.0f, 1.0f, 0.0f};
  Matrix4 view;
  MatrixLookAt(&view, &eye, &target, &up);
  SetViewMatrix(&view.m[0][0]);
  g_camera.fov = kSixtyDegrees;
  g_camera.nearZ = distance * 0.1f;
  g_camera.farZ = distance + 20000.0f;
  if (g_camera.mode != kCameraUserMatrix) UpdateProjection();
}

int InitGraphicsDrawState() {
  const int suspended = DrawSuspended;
  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  ResetRenderState(DrawTargetMemImg, width, height);
  DrawSuspended = suspended;
  ResetGraphCreationSettings();
  ApplyDefaultWaitVSync();
  g_camera = CameraState{};
  g_camera.aspectScale = 1.0f;
  g_camera.viewportScale = 1.0f;
  MatrixIdentity(&g_camera.world);
  MatrixIdentity(&g_camera.view);
  MatrixIdentity(&g_camera.viewport);
  MatrixIdentity(&g_camera.drawAreaViewport);
  MatrixIdentity(&g_camera.drawAreaViewportInverse);

  SelectDrawTarget(-4);
  SetDrawArea(0, 0, width, height);
  CreateDefaultLight();

  g_camera.nearZ = 10.0f;
  g_camera.farZ = 10000.0f;
  g_camera.mode = kCameraPerspective;
  g_camera.aspectScale = 1.0f;
  g_camera.fov = kSixtyDegrees;
  g_camera.orthoSize = 1.0f;
  MatrixIdentity(&g_camera.projection);
  g_camera.viewportScale = 1.0f;
  g_camera.material = DefaultMaterial();
  return 0;
}
