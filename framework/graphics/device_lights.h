// The device's lights, material and ambient colour for 3D drawing, sent
// through caches like the other device setters.
#pragma once

#include "platform/d3d9.h"

// Forgets what was sent (a new device has none of it).
void ResetDeviceLightCache();
// Device light index 0..255. -1 without a device, for a bad index, or when
// the device call fails.
int SetDeviceLight(int index, const D_D3DLIGHT9& light);
int SetDeviceLightEnable(int index, int enable);
int SetDeviceMaterial(const D_D3DMATERIAL9& material);
int SetDeviceAmbientColor(DWORD argb);
DWORD GetDeviceAmbientColor();
// The lights' colours times the material's into the shader registers
// (programmable shaders only).
int UploadLightShaderConstants();
