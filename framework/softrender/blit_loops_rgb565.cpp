// The image blit's normal and run-length loops for RGB565 sources.
#include "softrender/blit_loops.h"

template BlitLoopFn PickLoop<ImageBlitKernel<Rgb565, false>>(std::size_t);
template BlitLoopFn PickLoop<RunLengthKernel<Rgb565, false>>(std::size_t);
