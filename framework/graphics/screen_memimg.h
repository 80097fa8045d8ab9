// The software renderer's screen: a screen-sized software image that draws
// go into and the present copies to the window, with two work images.
#pragma once

#include "image/memimg.h"

int CreateScreenMemImg();
void ReleaseScreenMemImgs();
// Null while the software screen does not exist.
MEMIMG* GetScreenMemImg();
// The screen-sized work image with an alpha channel (alpha 1) or without;
// null while the software screen does not exist.
MEMIMG* GetScreenWorkMemImg(int alpha);
