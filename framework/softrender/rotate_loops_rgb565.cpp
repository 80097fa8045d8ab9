// The rotated blit's loops for direct-colour RGB565 sources.
#include "softrender/rotate_loops.h"

template RotateLoopFn PickLoop<RotateBlitKernel<Rgb565, false>>(std::size_t);
