// What the Direct3D 9 controls have set (see platform/control_d3d9.h).
#pragma once

#include <optional>

#include "platform/d3d9.h"

namespace wqplat {

class Device;

bool D3d9CallFails(const char* name);
bool D3d9FormatRefused(D_D3DFORMAT format);
std::optional<D_D3DCAPS9> D3d9CapsOverride();

// Live devices, for the control that loses them all.
void RegisterDevice(Device* device);
void UnregisterDevice(Device* device);

}  // namespace wqplat
