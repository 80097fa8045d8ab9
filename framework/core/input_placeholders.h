// Input entry points, standing until keyboard, pad and mouse input is built.
#pragma once

int StartInput();
int EndInput();
int RefreshKeyboardState();
int UpdateJoypadVibration();
int ReacquireInputDevices();
int SetJoypadEffect();
// selector bits: 1 keyboard, 2 pads, 4 mouse.
int CheckAnyInput(int selector);
// The keyboard hook's flags A (index 0) and B (index 1).
int SetHookKeyFlag(int index, int on);
