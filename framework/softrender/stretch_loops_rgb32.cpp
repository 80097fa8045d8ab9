// The stretched blit's loops for 32-bit sources.
#include "softrender/stretch_loops.h"

template StretchLoopFn PickLoop<StretchBlitKernel<Rgb32, false>>(std::size_t);
