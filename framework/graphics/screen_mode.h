// The screen settings (size, colour bits, refresh rate, 320 x 240
// emulation), how they change before and after start-up, the display-mode
// list and the built-in colour-format descriptors keyed by D3DFORMAT.
#pragma once

#include "WqLib.h"
#include "image/color_format.h"

struct ScreenSettings {
  int width;  // 0 until set; start-up turns 0 into 640 x 480 x 16
  int height;
  int colorBits;
  int refreshRate;  // 0: any
  int emulate320x240Auto;
  int emulate320x240;
};

ScreenSettings& Screen();
inline bool Emulating320x240() { return Screen().emulate320x240Auto || Screen().emulate320x240; }

// Re-applies or changes the mode; -1 for width, height, bits or refresh
// keeps the current value. Returns 0.
int ApplyScreenMode(int width, int height, int colorBits, int reapply, int refreshRate);
// Switches the display to the screen settings (full screen); 0 or -1.
int ChangeDisplayMode();
// A new list of the display modes of 16 bits or more (the old one freed).
void ListDisplayModes(int* count, DisplayModeRecord** list);
// Frees the cached list; the next query builds it again.
void FreeDisplayModeList();
int IsDisplayModeAvailable(int width, int height, int colorBits);
// Null for a format without a descriptor.
const ColorFormat* GetColorFormatDesc(int d3dFormat);
// The screen's pixel format on the renderer in use.
const ColorFormat* GetScreenColorFormat();
// The draw size: 320 x 240 while emulating, else the screen size.
int GetDrawScreenSize(int* width, int* height, int* colorBits);
