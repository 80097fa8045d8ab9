#include "input_placeholders.h"

int StartInput() { return 0; }
int EndInput() { return 0; }
int RefreshKeyboardState() { return 0; }
int UpdateJoypadVibration() { return 0; }
int ReacquireInputDevices() { return 0; }
int SetJoypadEffect() { return 0; }
int CheckAnyInput(int) { return 0; }
int SetHookKeyFlag(int, int) { return 0; }
