// Rebuilding the renderer after the device is lost (or for a mode change
// that keeps graphs), and re-sending the cached device state to a new
// device.
#pragma once

int RebuildGraphicsKeepMode();
int RebuildGraphics(int width, int height, int colorBits, int refreshRate, int newMode);
int SetRestoreGraphCallback(void (*callback)());
int IsRestoreGraphCallbackSet();
int CallRestoreGraphCallback();
int ApplyDrawTargetState();
void ReapplyDeviceState();
