// Input's entry points inside the framework: start and end, the per-frame
// refresh and vibration, activation, and the queries (the public ones are
// declared in WqLib.h).
#pragma once

#include "WqLib.h"

// 0; -1 when the keyboard's notification cannot be set up. Fatal when the
// mouse or the keyboard device cannot be set up.
int StartInput();
int EndInput();

// Set before start-up: read the keyboard and mouse through DirectInput on
// every system, not only before Vista.
void SetDirectInputKeyboardAlways(int always);

// 1 when it read new state, else 0 (within the same millisecond, on a
// quit, or on another thread).
int RefreshKeyboardState();
int ReacquireInputDevices();

// Pads through DirectInput: releases any, then adds every attached game
// controller (at most 16).
int SetupJoypads();
int ReleaseJoypads();
// Reads the pad (index 0..15) at most once per millisecond; -1 for a bad
// index or when input is gone.
int PollJoypads(int index);

// Vibration: advances every pad's timer (per frame), applies the wanted
// states to the effects, or stops one pad's vibration.
int UpdateJoypadVibration();
int SetJoypadEffect();
int CancelJoypadEffect(int padCode);

// The keyboard hook's flags A (index 0) and B (index 1).
int SetHookKeyFlag(int index, int on);

// The multimedia joystick's axis position 0..65535 as -1000..1000, with the
// middle half dead.
int MapJoystickAxis(unsigned position);
