// The mask screen: drawing limited to the pixels a one-byte-per-pixel mask
// allows. Before a draw the target rectangle is saved; after it the saved
// pixels come back wherever the mask forbids drawing. Nothing in the
// library creates a mask, so the hooks round every draw only count their
// nesting unless a mask screen has been made.
#pragma once

#include <cstdint>

#include "platform/windows.h"

inline constexpr int kMaskHandleKind = 0x28000000;
inline constexpr int kMaskSlotCount = 512;

// 0, or -1 for a handle that is not a live mask.
int DeleteMask(int handle);
int DeleteAllMasks();
// flag 1 makes the mask buffer and the work image or textures; 0 does
// nothing. Returns 0.
int CreateMaskScreen(int flag);
int DeleteMaskScreen();
// Redirects drawing while the mask is in effect; -1 without a mask buffer.
int EnableMaskScreen(int flag);
int IsMaskScreenEnabled();
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
