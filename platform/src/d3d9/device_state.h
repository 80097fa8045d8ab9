// The state a device keeps between calls, with Direct3D 9's initial values.
#pragma once

#include <array>
#include <cstdint>

#include "platform/d3d9.h"

namespace wqplat {

struct TextureStage {
  std::array<DWORD, D_D3DTSS_COUNT> states{};
};

struct DeviceState {
  std::array<DWORD, D_D3DRS_COUNT> render{};
  std::array<TextureStage, D_D3DMAXTEXTURESTAGES> stages{};
  std::array<std::array<DWORD, D_D3DSAMP_COUNT>, D_D3DMAXTEXTURESTAGES> samplers{};
  D_D3DMATRIX world{}, view{}, projection{};
  std::array<D_D3DMATRIX, D_D3DMAXTEXTURESTAGES> texture_transforms{};
  D_D3DVIEWPORT9 viewport{};
  RECT scissor{};
  D_D3DMATERIAL9 material{};
  DWORD fvf = 0;
};

// Direct3D 9's defaults; the viewport and scissor cover a target of the given size.
DeviceState InitialDeviceState(int target_width, int target_height);

}  // namespace wqplat
