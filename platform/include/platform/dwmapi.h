// dwmapi: desktop composition.
#pragma once

#include "platform/wintypes.h"

#define DWM_EC_DISABLECOMPOSITION 0u
#define DWM_EC_ENABLECOMPOSITION 1u

// The window system composes as it pleases; the request is accepted and
// changes nothing.
HRESULT DwmEnableComposition(UINT composition_action);
