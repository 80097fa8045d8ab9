// The screen settings and the screen-mode change: before start-up a
// request is only stored; afterwards graphics are shut down and started
// again in the new mode, falling back to safer modes when that fails.
#include "graphics/screen_mode.h"

#include "core/startup/library_startup.h"
#include "core/window/main_window.h"
#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_start.h"
#include "graphics/vertex_batch.h"
#include "image/memimg.h"
#include "text/font_system.h"

namespace {

ScreenSettings g_screen;

struct ModeValues {
  int width, height, colorBits, refreshRate;
  bool operator==(const ModeValues&) const = default;
};

ModeValues CurrentMode() { return {g_screen.width, g_screen.height, g_screen.colorBits, g_screen.refreshRate}; }

void StoreMode(const ModeValues& mode) {
  g_screen.width = mode.width;
  g_screen.height = mode.height;
  g_screen.colorBits = mode.colorBits;
  g_screen.refreshRate = mode.refreshRate;
}

int StartInMode(const ModeValues& mode) {
  StoreMode(mode);
  return StartGraphics();
}

// Starts graphics in the new mode, else in the fall-backs; a program that
// cannot show any screen ends here.
void RestartGraphics(const ModeValues& requested, const ModeValues& old) {
  if (StartInMode(requested) == 0) return;
  if (requested.width == 320 && requested.height == 240) {
    SetEmulate320x240(1);
    if (StartInMode({640, 480, requested.colorBits, requested.refreshRate}) == 0) return;
  }
  if (StartInMode(old) == 0) return;
  if (StartInMode({640, 480, 16, 0}) == 0) return;
  FatalErrorFormat("予期せぬ画面モード変更不能現象が起きました2\n");
}

}  // namespace

ScreenSettings& Screen() { return g_screen; }

int SetScreenMode(int width, int height, int colorBits, int refreshRate) {
  if (width == 0 || height == 0) return -1;
  if (colorBits != 8 && colorBits != 16 && colorBits != 32) return -1;
  if (!WindowSystem().initialised) {
    StoreMode({width, height, colorBits, refreshRate});
    return 0;
  }
  const ModeValues before = CurrentMode();
  ApplyScreenMode(width, height, colorBits, 0, refreshRate);
  const ModeValues now = CurrentMode();
  if (now == ModeValues{width, height, colorBits, refreshRate}) return 0;
  if (now == before) return -1;
  if (now == ModeValues{640, 480, 16, 0}) return -2;
  return -1;
}

int ApplyScreenMode(int width, int height, int colorBits, int reapply, int refreshRate) {
  FlushVertexBatch();
  const WindowSystemState& state = WindowSystem();
  const int wasStarted = Graphics().started;
  const int drawTarget = GetDrawTarget();

  if (!state.windowMode && width == 320 && height == 240) {
    g_screen.emulate320x240Auto = 1;
    width = 640;
    height = 480;
  } else {
    if (state.windowMode && reapply && g_screen.width == 640 && g_screen.height == 480 && g_screen.emulate320x240Auto) {
      width = 320;
      height = 240;
    }
    g_screen.emulate320x240Auto = 0;
    if (width == -1) width = g_screen.width;
    if (height == -1) height = g_screen.height;
  }
  if (colorBits == -1) colorBits = g_screen.colorBits;
  if (refreshRate == -1) refreshRate = g_screen.refreshRate;
  const ModeValues requested{width, height, colorBits, refreshRate};
  const ModeValues old = CurrentMode();
  if (requested == old && !reapply) return 0;

  LogWrite("画面モード変更処理を開始します\n");
  IncreaseLogIndent();
  if (!state.initialised && !state.starting) {
    DecreaseLogIndent();
    return 0;
  }
  int fontSize = 0, fontThickness = 0;
  GetDefaultFontSettings(&fontSize, &fontThickness);
  if (wasStarted) ShutdownGraphics();
  RestartGraphics(requested, old);
  if (state.windowMode) SetWindowStyleForMode();
  if (wasStarted) SetDefaultFontSize(nullptr, fontSize, fontThickness);
  DecreaseLogIndent();
  LogWrite("画面モード変更処理は正常に終了しました\n");
  ProcessWindowMessages();
  SelectDrawTarget(drawTarget);
  return 0;
}

int SetEmulate320x240(int flag) {
  g_screen.emulate320x240 = flag;
  return 0;
}

int GetScreenSize(int* width, int* height) {
  if (width) *width = g_screen.width ? g_screen.width : 640;
  if (height) *height = g_screen.height ? g_screen.height : 480;
  return 0;
}

int GetScreenColorBits() { return g_screen.colorBits ? g_screen.colorBits : 16; }

int GetDrawScreenSize(int* width, int* height, int* colorBits) {
  if (Emulating320x240()) {
    if (width) *width = 320;
    if (height) *height = 240;
  } else {
    GetScreenSize(width, height);
  }
  if (colorBits) *colorBits = g_screen.colorBits;
  return 0;
}

const ColorFormat* GetScreenColorFormat() {
  const bool sixteen = GetScreenColorBits() == 16;
  if (HardwareRendererInUse()) return GetColorFormatDesc(sixteen ? D_D3DFMT_R5G6B5 : D_D3DFMT_X8R8G8B8);
  return GetMemImgColorFormat(sixteen ? kMemImgRgb565 : kMemImgRgb32, 0, 0);
}

int IsFullScreen() { return WindowSystem().windowMode ? 0 : 1; }
