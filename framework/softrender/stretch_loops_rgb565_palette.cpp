// The stretched blit's loops for palettised RGB565 sources.
#include "softrender/stretch_loops.h"

template StretchLoopFn PickLoop<StretchBlitKernel<Rgb565, true>>(std::size_t);
