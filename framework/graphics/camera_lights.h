// The camera, projection and matrices of the 3D pipeline that 2D draws also
// pass through, the light table, and the reset of the whole draw state at
// graphics start-up.
#pragma once

#include "core/base/math_utils.h"
#include "platform/d3d9.h"

inline constexpr int kCameraPerspective = 0;
inline constexpr int kCameraOrthographic = 1;
inline constexpr int kCameraUserMatrix = 2;

struct CameraState {
  int mode;
  float fov;
  float nearZ;
  float farZ;
  float aspectScale;
  float orthoSize;
  float viewportScale;
  float viewportCentreX;
  float viewportCentreY;
  Matrix4 world;
  Matrix4 view;
  Matrix4 projection;
  Matrix4 viewport;
  Matrix4 drawAreaViewport;  // from the draw area, with its inverse
  Matrix4 drawAreaViewportInverse;
  D_D3DMATERIAL9 material;
  int viewDerivedValid;
  Matrix4 worldViewProjectionViewport;
  float right[4], up[4], forward[4];
};

CameraState& Camera();

int InitGraphicsDrawState();
int SetCameraNearFar(float nearZ, float farZ);
int SetCameraFov(float fov);
int SetCameraProjectionMatrix(const Matrix4* matrix);
int UpdateProjection();
int UpdateViewportMatrix(float centreX, float centreY);
void UpdateViewDerivedData();
// Places the camera so that 3D coordinates match the draw target's pixels.
void ResetCameraForTarget(int width, int height);
// Sends projection x viewport x inverse draw-area viewport to the device.
void SendProjectionToDevice();
// The draw area's viewport matrix changed.
void SetDrawAreaViewport(const Matrix4* viewport);
const Matrix4* GetWorldMatrix();
void SetCameraMaterial(const D_D3DMATERIAL9& material);
void SendMaterialToDevice();

// v x m with the translation row (4x4), or with the 3 x 3 part only.
float* TransformVector4x4(float out[3], const float v[3], const float m[16]);
float* TransformVector3x3(float out[3], const float v[3], const float m[16]);

// Lights: handles of kind 0x48000000.
int CreateDirectionalLight(float x, float y, float z);
int DeleteLight(int handle);
// Every light but the default one; with `includingDefault` that one too.
int DeleteAllLights(int includingDefault);
int RefreshLights();
void MarkAllLightsChanged();
// The light in device slot 0..3 while it is enabled, else null.
const D_D3DLIGHT9* GetDeviceLightSlot(int slot);
// Type (1 point, 2 spot, 3 directional) of device light 0..2 while enabled, else 0.
int GetDeviceLightType(int slot);
int GetLightCount();
// The directional light made at start-up, unless it exists.
void CreateDefaultLight();
