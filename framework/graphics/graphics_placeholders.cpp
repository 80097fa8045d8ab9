#include "graphics/graphics_placeholders.h"

namespace {
int g_drawTarget = -2;
int g_restoreCallbackSet = 0;
int g_softwareRendererRequested = 0;
DisplayModeRecord g_screen = {640, 480, 16, 60};
}  // namespace

int StartGraphics() { return 0; }
int ShutdownGraphics() { return 0; }
int IsGraphicsStarted() { return 1; }
int SelectDrawTarget(int target) {
  g_drawTarget = target;
  return 0;
}
int GetDrawTarget() { return g_drawTarget; }
int SetRestoreGraphCallback(void (*)()) {
  g_restoreCallbackSet = 1;
  return 0;
}
int IsRestoreGraphCallbackSet() { return g_restoreCallbackSet; }
int RebuildGraphicsKeepMode() { return 0; }
int InitModelSystem() { return 0; }
int TerminateModelSystem() { return 0; }

int GetDisplayModeCount() { return 0; }
DisplayModeRecord* GetDisplayMode(DisplayModeRecord* out, int) {
  *out = DisplayModeRecord{-1, -1, -1, -1};
  return out;
}
int SetScreenMode(int width, int height, int colorBits, int refreshRate) {
  g_screen = DisplayModeRecord{width, height, colorBits, refreshRate};
  return 0;
}
int GetScreenSize(int* width, int* height) {
  if (width) *width = g_screen.width;
  if (height) *height = g_screen.height;
  return 0;
}
int GetScreenColorBits() { return g_screen.colorBits; }
int SetEmulate320x240(int) { return 0; }
int GetUseHardwareRenderer() { return g_softwareRendererRequested ? 0 : 1; }
int SetUseHardwareRenderer(int flag) {
  g_softwareRendererRequested = flag == 0;
  return 0;
}
int ApplyScreenMode(int, int, int, int, int) { return 0; }

int FlipScreenCore(const RECT*) { return 0; }
int PresentActivatedDevice() { return 0; }
int IsDirect3DRendererInUse() { return 0; }
int IsDirectDrawReady() { return 0; }
int GetDrawArea(RECT* area) {
  *area = RECT{0, 0, g_screen.width, g_screen.height};
  return 0;
}
int SetDrawArea(int, int, int, int) { return 0; }
