// The triangle kernel's loops for palettised RGB565 sources.
#include "softrender/triangle_loops.h"

template TriangleLoopFn PickLoop<TriangleKernel<Rgb565, true>>(std::size_t);
