// The rotated blit's loops for direct-colour 32-bit sources.
#include "softrender/rotate_loops.h"

template RotateLoopFn PickLoop<RotateBlitKernel<Rgb32, false>>(std::size_t);
