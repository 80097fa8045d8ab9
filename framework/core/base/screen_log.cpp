#include "core/base/screen_log.h"

#include "graphics/graphics_start.h"
#include "image/image_placeholders.h"
#include "core/window/window_system_state.h"

namespace {

constexpr int kFontSize = 16;
constexpr int kFontThickness = 4;
constexpr int kFontTypeAntialiased = 1;
constexpr int kDefaultCharSet = -1;
constexpr int kDefaultEdge = -1;

struct ScreenLog {
  int setUp;
  int enabled;
  int fontSize;
  int font;
  int fontLost;
};

ScreenLog g_screenLog;

}  // namespace

int SetupScreenLog() {
  if (g_screenLog.setUp) return 0;
  if (!IsGraphicsStarted() || GetMainWindow() == nullptr) return -1;
  g_screenLog.setUp = 1;
  g_screenLog.fontSize = kFontSize;
  g_screenLog.font = -1;
  g_screenLog.fontLost = 1;
  CreateScreenLogFont();
  g_screenLog.enabled = 0;
  return 0;
}

int CreateScreenLogFont() {
  if (!g_screenLog.setUp) return SetupScreenLog();
  if (!g_screenLog.fontLost) return 0;
  g_screenLog.font = CreateFontToHandle(nullptr, g_screenLog.fontSize, kFontThickness, kFontTypeAntialiased,
                                        kDefaultCharSet, kDefaultEdge, 0);
  g_screenLog.fontLost = 0;
  SetFontLostFlag(g_screenLog.font, &g_screenLog.fontLost);
  return 0;
}

void ReleaseScreenLog() {
  if (!g_screenLog.setUp) return;
  if (!g_screenLog.fontLost) DeleteFont(g_screenLog.font);
  g_screenLog.fontLost = 1;
  g_screenLog.font = -1;
  g_screenLog.setUp = 0;
}

int GetScreenLogFlag() { return g_screenLog.enabled; }
