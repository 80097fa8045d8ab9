// The software screen and its two work images.
#include "graphics/screen_memimg.h"

#include "core/startup/library_startup.h"
#include "graphics/color_values.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"

namespace {

MEMIMG g_screen;
MEMIMG g_work;
MEMIMG g_workAlpha;

}  // namespace

int CreateScreenMemImg() {
  const ScreenSettings& screen = Screen();
  const int type = screen.colorBits == 16 ? kMemImgRgb565 : kMemImgRgb32;
  if (CreateMemImg(&g_screen, screen.width, screen.height, -1, 0, type, 0, 0, 0, nullptr) != 0)
    FatalErrorFormat("プライマリサーフェス用の MEMIMG の作成に失敗しました\n");
  CreateMemImg(&g_work, screen.width, screen.height, -1, 0, type, 0, 0, 0, nullptr);
  CreateMemImg(&g_workAlpha, screen.width, screen.height, -1, 0, type, 0, 1, 0, nullptr);
  FillMemImgRect(&g_screen, nullptr, EncodeBackgroundColor(g_screen.data->colorFormat));
  DrawTargetMemImg = &g_screen;
  return 0;
}

void ReleaseScreenMemImgs() {
  ReleaseMemImg(&g_screen);
  ReleaseMemImg(&g_work);
  ReleaseMemImg(&g_workAlpha);
  if (DrawTargetMemImg == &g_screen) DrawTargetMemImg = nullptr;
}

MEMIMG* GetScreenMemImg() { return IsMemImgInUse(&g_screen) ? &g_screen : nullptr; }

MEMIMG* GetScreenWorkMemImg(int alpha) {
  MEMIMG* work = alpha ? &g_workAlpha : &g_work;
  return IsMemImgInUse(work) ? work : nullptr;
}
