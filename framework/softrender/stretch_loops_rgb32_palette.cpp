// The stretched blit's loops for palettised 32-bit sources.
#include "softrender/stretch_loops.h"

template StretchLoopFn PickLoop<StretchBlitKernel<Rgb32, true>>(std::size_t);
