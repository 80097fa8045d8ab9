// The on-screen log overlay: its font, its line buffer and its drawing.
#include "core/base/screen_log.h"

#include <algorithm>
#include <cstring>

#include "WqLib.h"
#include "core/window/window_system_state.h"
#include "graphics/graphics_start.h"

namespace {

constexpr int kFontSize = 16;
constexpr int kFontThickness = 4;
constexpr int kFontTypeEdged = 1;
constexpr int kDefaultCharSet = -1;
constexpr int kDefaultEdge = -1;

ScreenLogState g_screenLog;

}  // namespace

ScreenLogState& ScreenLog() { return g_screenLog; }

int SetupScreenLog() {
  if (g_screenLog.setUp) return 0;
  if (!IsGraphicsStarted() || GetMainWindow() == nullptr) return -1;
  g_screenLog.setUp = 1;
  g_screenLog.fontSize = kFontSize;
  g_screenLog.font = -1;
  g_screenLog.fontLost = 1;
  CreateScreenLogFont();
  g_screenLog.enabled = 0;
  g_screenLog.lineCount = 0;
  g_screenLog.lineStart = 0;
  std::memset(g_screenLog.lines, 0, sizeof(g_screenLog.lines));
  return 0;
}

int CreateScreenLogFont() {
  if (!g_screenLog.setUp) {
    SetupScreenLog();
    return 0;
  }
  if (!g_screenLog.fontLost) return 0;
  g_screenLog.font = CreateFontToHandle(nullptr, g_screenLog.fontSize, kFontThickness, kFontTypeEdged,
                                        kDefaultCharSet, kDefaultEdge, 0, -1, -1);
  SetFontLostFlag(g_screenLog.font, &g_screenLog.fontLost);
  return 0;
}

int DrawScreenLog() {
  if (!g_screenLog.setUp && SetupScreenLog() != 0) return 0;
  CreateScreenLogFont();
  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  const int lines = std::min(height / g_screenLog.fontSize, kScreenLogLines);
  const std::uint32_t white = MakeColor(255, 255, 255), black = MakeColor(0, 0, 0);
  for (int i = 0; i < lines; ++i)
    DrawTextWithFont(0, g_screenLog.fontSize * i, g_screenLog.lines[i], white, g_screenLog.font, black, 0);
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
