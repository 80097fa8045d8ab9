// The triangle kernel's loops for palettised 32-bit sources.
#include "softrender/triangle_loops.h"

template TriangleLoopFn PickLoop<TriangleKernel<Rgb32, true>>(std::size_t);
