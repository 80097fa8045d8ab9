// Where drawing goes: the back or front screen, or a drawable graph.
#pragma once

#include "WqLib.h"
#include "platform/d3d9.h"
#include "platform/windows.h"

inline constexpr int kBackScreen = -2;
inline constexpr int kFrontScreen = -4;

inline bool IsScreenId(int target) { return target >= -5 && target <= -2; }

int GetDrawArea(RECT* area);
// The device surface drawing goes to (the target graph's, else the back
// buffer) and its format.
D_IDirect3DSurface9* DrawTargetSurface(D_D3DFORMAT* format);
// The front screen presents itself on this timer while it is the target.
void FrontScreenFlipTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
inline constexpr UINT_PTR kFrontScreenTimerId = 32767;
inline constexpr UINT kFrontScreenTimerMs = 32;
