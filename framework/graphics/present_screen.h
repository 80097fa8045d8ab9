// Presentation of the finished frame and the device's scene brackets.
#pragma once

#include "platform/windows.h"

// -1 when the framework is not started or is ending, when the mapped
// rectangle is empty, or when a device call fails. windowRect (screen
// coordinates) limits a window-mode present to that part.
int FlipScreenCore(const RECT* windowRect);
int FlipScreenNow();
// Presents once after the window is activated; -1 when that failed and
// the device needs a rebuild.
int PresentActivatedDevice();
void BeginDeviceScene();
void EndDeviceScene();
const RECT& GetPresentSourceRect();
int SetZBufferEnable(int flag);

// The two optional outputs of a present. The on-screen log lines, drawn
// over the screen (whole screen, no blend, white brightness) when the
// overlay is on; and the screen shown through the layered window (after
// the vertical blank when waiting is on), for a window in layered-window
// mode.
void DrawScreenLogOverlay();
bool IsLayeredWindowMode();
void PresentThroughLayeredWindow();
