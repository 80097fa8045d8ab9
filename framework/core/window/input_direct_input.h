// The DirectInput object of either version, as the rest of input uses it.
#pragma once

#include "platform/dinput.h"

// Creates and initialises DirectInput 7, else 8, logging each attempt.
// False when neither can be had.
bool AcquireDirectInput();
void ReleaseDirectInput();

// A device of the object in use (CreateDevice or CreateDeviceEx).
HRESULT CreateDirectInputDevice(REFGUID instance, D_IDirectInputDevice7A** device);
// Enumerates the attached game controllers.
HRESULT EnumGameControllers(D_LPDIENUMDEVICESCALLBACKA callback, void* context);

// Reads the device's state, acquiring it once more when it was lost (after
// the window lost the focus, for one); false when it still cannot be read.
bool ReadDeviceState(D_IDirectInputDevice7A* device, DWORD size, void* state);
