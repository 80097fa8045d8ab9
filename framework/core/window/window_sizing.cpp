#include "core/window/window_sizing.h"

#include <algorithm>

namespace {

bool WidthDrives(const AspectSizing& sizing, int clientWidth, int clientHeight) {
  switch (sizing.edge) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT:
      return true;
    case WMSZ_TOP:
    case WMSZ_BOTTOM:
      return false;
    default:
      // A corner: the side that grew further relative to the screen leads.
      return static_cast<double>(clientHeight) / sizing.screenHeight <
             static_cast<double>(clientWidth) / sizing.screenWidth;
  }
}

}  // namespace

double ApplyAspectSizing(AspectSizing* sizing) {
  RECT& rect = sizing->dragged;
  const int maxClientWidth = sizing->desktopWidth - sizing->frameWidth;
  const int maxClientHeight = sizing->desktopHeight - sizing->frameHeight;
  int clientWidth = std::min(static_cast<int>(rect.right - rect.left) - sizing->frameWidth, maxClientWidth);
  int clientHeight = std::min(static_cast<int>(rect.bottom - rect.top) - sizing->frameHeight, maxClientHeight);
  if (WidthDrives(*sizing, clientWidth, clientHeight)) {
    clientHeight = std::min(clientWidth * sizing->screenHeight / sizing->screenWidth, maxClientHeight);
  } else {
    clientWidth = std::min(clientHeight * sizing->screenWidth / sizing->screenHeight, maxClientWidth);
  }
  // Both sides follow, so a side clamped to the desktop is not left behind.
  rect.right = rect.left + clientWidth + sizing->frameWidth;
  rect.bottom = rect.top + clientHeight + sizing->frameHeight;
  return static_cast<double>(clientWidth) / sizing->screenWidth;
}
