// The image blit's normal and run-length loops for palettised 32-bit sources.
#include "softrender/blit_loops.h"

template BlitLoopFn PickLoop<ImageBlitKernel<Rgb32, true>>(std::size_t);
template BlitLoopFn PickLoop<RunLengthKernel<Rgb32, true>>(std::size_t);
