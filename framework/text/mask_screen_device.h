// The mask screen on the Direct3D device: the saved copy of the draw
// target lives in a render-target texture, the mask bytes in the alpha of a
// second texture, and the end of a masked draw draws the saved copy back
// through the mask with the alpha test.
#pragma once

#include <cstdint>

#include "platform/windows.h"

// Makes the two textures when absent (a missing format or a failed
// creation is fatal).
void CreateDeviceMaskObjects(int width, int height);
void ReleaseDeviceMaskObjects();
// Copies the rectangle of the draw target into the saved copy.
void SaveDeviceMaskRect(const RECT& rect);
// Draws the saved copy of the rectangle back wherever the mask blocks
// drawing: mask bytes of 0 when reverse is 0, the others when it is 1.
void RestoreDeviceMaskRect(const RECT& rect, const std::uint8_t* mask, int maskPitch, int reverse);
