// The flat-colour triangle's loops, one per drawn mode and colour type.
#include "softrender/triangle_loops.h"

template TriangleLoopFn PickLoop<FlatTriangleKernel<Rgb32>>(std::size_t);
template TriangleLoopFn PickLoop<FlatTriangleKernel<Rgb565>>(std::size_t);
