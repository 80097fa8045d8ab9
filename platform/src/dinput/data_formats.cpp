// The three state layouts a device can be set to; the devices tell them
// apart by their data size.
#include "platform/dinput.h"

const D_DIDATAFORMAT D_c_dfDIMouse = {sizeof(D_DIDATAFORMAT), 0, 0, sizeof(D_DIMOUSESTATE), 0,
                                      nullptr};
const D_DIDATAFORMAT D_c_dfDIKeyboard = {sizeof(D_DIDATAFORMAT), 0, 0, 256, 0, nullptr};
const D_DIDATAFORMAT D_c_dfDIJoystick = {sizeof(D_DIDATAFORMAT), 0, 0, sizeof(D_DIJOYSTATE), 0,
                                         nullptr};
