// Small answers about the screen: the DirectDraw object kept for
// vertical-blank waits, and two helpers of the movie code's parameters.
#pragma once

#include <cstddef>

#include "platform/ddraw.h"

inline constexpr std::size_t kMovieDrawBlockSize = 380;

// Null while there is none.
D_IDirectDraw7* GetDirectDraw7Object();
float* MakeVector4(float* out, float x, float y, float z, float w);
// Zero-fills the movie window-draw parameter block; returns it.
void* ZeroBlock380(void* block);
