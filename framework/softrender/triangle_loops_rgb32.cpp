// The triangle kernel's loops for 32-bit sources.
#include "softrender/triangle_loops.h"

template TriangleLoopFn PickLoop<TriangleKernel<Rgb32, false>>(std::size_t);
