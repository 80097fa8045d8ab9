// WM_SIZING in window mode: the client area keeps the screen's aspect ratio.
#pragma once

#include "platform/windows.h"

struct AspectSizing {
  RECT dragged;      // the rectangle being dragged, adjusted in place
  int edge;          // WMSZ_*
  int frameWidth;    // window size minus client size
  int frameHeight;
  int screenWidth;
  int screenHeight;
  int desktopWidth;
  int desktopHeight;
};

// Adjusts the dragged rectangle so its client area has the screen's aspect
// ratio and fits the desktop; returns the window scale both axes take.
double ApplyAspectSizing(AspectSizing* sizing);
