// The stretched blit's loops for RGB565 sources.
#include "softrender/stretch_loops.h"

template StretchLoopFn PickLoop<StretchBlitKernel<Rgb565, false>>(std::size_t);
