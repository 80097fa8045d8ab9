// Force-feedback effects of a pad: constant force and sine, played on its
// rumble motors.
#pragma once

#include "platform/dinput.h"

namespace wqplat {

class InputDevice;

// D_DIERR_UNSUPPORTED for other effect types, D_DIERR_INVALIDPARAM for
// parameters without the type's magnitude record.
HRESULT CreateRumbleEffect(InputDevice* device, REFGUID effect_type, const D_DIEFFECT* parameters,
                           D_IDirectInputEffect** effect);

}  // namespace wqplat
