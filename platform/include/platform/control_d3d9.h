// Controls of the Direct3D 9 and DirectDraw modules, for tests and tools
// (part of control.h).
#pragma once

#include "platform/d3d9.h"

// While set, the named call fails: "Direct3DCreate9" returns null;
// "CreateDevice" and the device, swap-chain and surface methods it names
// ("Present", "StretchRect", "CreateTexture", "LockRect", ...) return
// D3DERR_NOTAVAILABLE (creation) or D3DERR_INVALIDCALL. Drawing calls are
// not interceptable.
void WqControlSetD3d9CallFails(const char* name, bool fails);

// The capabilities every adapter and device reports from now on; null goes
// back to the device's own.
void WqControlSetD3d9Caps(const D_D3DCAPS9* caps);

// While refused, the adapter rejects the format in CheckDeviceFormat and
// CheckDepthStencilMatch, and creating a resource of it fails.
void WqControlSetD3d9FormatRefused(D_D3DFORMAT format, bool refused);

// Loses every existing device, as when the display is taken away: Present
// reports D3DERR_DEVICELOST and TestCooperativeLevel D3DERR_DEVICENOTRESET
// until the program calls Reset.
void WqControlLoseD3d9Devices();
