// Small answers about the screen for callers outside the graphics core.
#include "graphics/screen_queries.h"

#include <cstring>

#include "graphics/graphics_state.h"

D_IDirectDraw7* GetDirectDraw7Object() { return Graphics().directDraw; }

float* MakeVector4(float* out, float x, float y, float z, float w) {
  out[0] = x;
  out[1] = y;
  out[2] = z;
  out[3] = w;
  return out;
}

void* ZeroBlock380(void* block) { return std::memset(block, 0, kMovieDrawBlockSize); }
