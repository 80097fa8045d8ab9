#include "user32/window_frame.h"

namespace wqplat {

RECT FrameThickness(DWORD style, DWORD ex_style) {
  int side = 0;
  if (style & WS_THICKFRAME) {
    side += GetSystemMetrics(SM_CXFRAME);
  } else if ((style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME)) {
    side += GetSystemMetrics(SM_CXFIXEDFRAME);
  } else if (style & WS_BORDER) {
    side += GetSystemMetrics(SM_CXBORDER);
  }
  if (ex_style & WS_EX_CLIENTEDGE) side += GetSystemMetrics(SM_CXEDGE);
  if (ex_style & WS_EX_STATICEDGE) side += GetSystemMetrics(SM_CXBORDER);
  int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
  return RECT{side, side + caption, side, side};
}

}  // namespace wqplat
