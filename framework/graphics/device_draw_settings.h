// The settings of 3D drawing that the per-draw device set-up reads: two
// sets of Z settings (the second for draws that ask for it), fog,
// lighting and specular switches, the anisotropy, the stored address modes
// and the alpha-test override. They start as a new device's state, so
// that 2D drawing sends none of them.
#pragma once

#include "platform/d3d9.h"

struct ZSettings {
  int enable;
  int write;
  int func;
  int depthBias;
  int fillMode;
};

struct DeviceDrawSettings {
  ZSettings z[2] = {{0, 0, D_D3DCMP_LESSEQUAL, 0, D_D3DFILL_SOLID}, {0, 0, D_D3DCMP_LESSEQUAL, 0, D_D3DFILL_SOLID}};
  int fogEnable = 0;
  int lightingOff = 0;  // lighting stays off even for lit draws
  int specularOff = 0;
  int maxAnisotropy = 1;
  int addressU[8] = {D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP,
                     D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP};
  int addressV[8] = {D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP,
                     D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP, D_D3DTADDRESS_CLAMP};
  int alphaTestOverride[2] = {-1, 0};  // compare function (-1: none) and reference
};

DeviceDrawSettings& DrawSettings();
