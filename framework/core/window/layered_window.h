// Layered-window presentation: the screen image shown through
// UpdateLayeredWindow, so that the window takes the shape of the picture
// (colour-keyed, or with per-pixel alpha). Nothing in this program switches
// it on; the switches live in the window state.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/windows.h"

using UpdateLayeredWindowFunction = BOOL (*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

// User32's UpdateLayeredWindow, read when the window is made (null when
// user32 lacks it), and let go when the window ends.
void ReadUpdateLayeredWindowEntry();
void ReleaseUpdateLayeredWindowEntry();
UpdateLayeredWindowFunction GetUpdateLayeredWindowEntry();

// Presents the image (with a source DC: that DC's picture, colour-keyed by
// the transparent colour). alphaFlag: the image's alpha channel shapes the
// window. 0, or -1 without the entry point or when the window refused.
int UpdateLayeredWindowImage(const BaseImage* image, HDC source, int alphaFlag);
// The window-sized bitmap it keeps between presents (EndMainWindow).
void DeleteLayeredWindowBitmap();
// For tests: that bitmap's pixels (0xAARRGGBB, top-down rows), null
// before the first present through it.
const std::uint32_t* GetLayeredWindowPixels(int* width, int* height);
