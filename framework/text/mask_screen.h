// The mask screen: drawing limited to the pixels a one-byte-per-pixel mask
// allows. Before a draw the target rectangle is saved; after it the saved
// pixels come back wherever the mask forbids drawing. Nothing in the
// library creates a mask, so the hooks round every draw only count their
// nesting unless a mask screen has been made.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/windows.h"

inline constexpr int kMaskHandleKind = 0x28000000;
inline constexpr int kMaskSlotCount = 512;

// DeleteMask, DeleteAllMasks, CreateMaskScreen, DeleteMaskScreen,
// EnableMaskScreen and IsMaskScreenEnabled are public (WqLib.h).

// Round every draw, with its destination rectangle.
void BeginMaskDraw(RECT rect);
void EndMaskDraw(RECT rect);
// After a device rebuild, and before a device reset or at shutdown.
int RestoreMaskScreen();
int ReleaseMaskScreen();

// For tests and the mask's users: the mask buffer (one byte a screen
// pixel, rows of the pitch), null until made, and the nesting count.
std::uint8_t* GetMaskBuffer(int* pitch);
int GetMaskDrawNesting();
int SetMaskReverseEffect(int reverse);
