// The rotated blit's loops for palettised RGB565 sources.
#include "softrender/rotate_loops.h"

template RotateLoopFn PickLoop<RotateBlitKernel<Rgb565, true>>(std::size_t);
