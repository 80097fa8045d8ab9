// The triangle kernel's loops for RGB565 sources.
#include "softrender/triangle_loops.h"

template TriangleLoopFn PickLoop<TriangleKernel<Rgb565, false>>(std::size_t);
