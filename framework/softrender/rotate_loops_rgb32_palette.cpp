// The rotated blit's loops for palettised 32-bit sources.
#include "softrender/rotate_loops.h"

template RotateLoopFn PickLoop<RotateBlitKernel<Rgb32, true>>(std::size_t);
