// Display modes: changing the display for full screen, and the cached list
// of the modes of 16 colour bits or more.
#include <cstring>

#include "core/window/main_window.h"
#include "graphics/screen_mode.h"

namespace {

DisplayModeRecord* g_modeList;
int g_modeCount;
bool g_modeListBuilt;

void EnsureModeList() {
  if (!g_modeListBuilt) {
    ListDisplayModes(&g_modeCount, &g_modeList);
    g_modeListBuilt = true;
  }
}

}  // namespace

int ChangeDisplayMode() {
  ScreenSettings& screen = Screen();
  LogWriteFormat("画面モードの変更処理を開始します %u x %u  %u bit ", static_cast<unsigned>(screen.width),
                 static_cast<unsigned>(screen.height), static_cast<unsigned>(screen.colorBits));
  IncreaseLogIndent();
  if (screen.colorBits != 16 && screen.colorBits != 32) {
    DecreaseLogIndent();
    return -1;
  }
  LogWrite("画面解像度を変更します... ");
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmBitsPerPel = static_cast<DWORD>(screen.colorBits);
  mode.dmPelsWidth = static_cast<DWORD>(screen.width);
  mode.dmPelsHeight = static_cast<DWORD>(screen.height);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  if (screen.refreshRate != 0) {
    mode.dmFields |= DM_DISPLAYFREQUENCY;
    mode.dmDisplayFrequency = static_cast<DWORD>(screen.refreshRate);
  }
  bool changed = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  if (!changed) {
    screen.refreshRate = 0;
    mode.dmFields &= ~DM_DISPLAYFREQUENCY;
    mode.dmDisplayFrequency = 0;
    changed = ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL;
  }
  if (!changed && screen.width == 320 && screen.height == 240) {
    screen.width = 640;
    screen.height = 480;
    SetEmulate320x240(1);
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 480;
    changed = ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL;
    if (changed) SetWindowStyleForMode();
  }
  if (!changed) {
    LogWrite("画面モードの変更に失敗しました\n");
    DecreaseLogIndent();
    return -1;
  }
  LogWrite("成功しました\n");
  DecreaseLogIndent();
  return 0;
}

void ListDisplayModes(int* count, DisplayModeRecord** list) {
  int found = 0;
  DEVMODEA mode{};
  mode.dmSize = sizeof(mode);
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
    if (mode.dmBitsPerPel >= 16) ++found;
  if (*list) HeapFree(GetProcessHeap(), 0, *list);
  *list = static_cast<DisplayModeRecord*>(
      HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(found) * sizeof(DisplayModeRecord)));
  if (*list == nullptr) {
    *count = 0;
    return;
  }
  int stored = 0;
  for (DWORD i = 0; stored < found && EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (mode.dmBitsPerPel < 16) continue;
    (*list)[stored++] =
        DisplayModeRecord{static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                          static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmDisplayFrequency)};
  }
  *count = stored;
}

void FreeDisplayModeList() {
  if (g_modeList) HeapFree(GetProcessHeap(), 0, g_modeList);
  g_modeList = nullptr;
  g_modeCount = 0;
  g_modeListBuilt = false;
}

int GetDisplayModeCount() {
  EnsureModeList();
  return g_modeCount;
}

DisplayModeRecord* GetDisplayMode(DisplayModeRecord* out, int index) {
  EnsureModeList();
  if (index < 0 || index >= g_modeCount)
    *out = DisplayModeRecord{-1, -1, -1, -1};
  else
    *out = g_modeList[index];
  return out;
}

int IsDisplayModeAvailable(int width, int height, int colorBits) {
  EnsureModeList();
  for (int i = 0; i < g_modeCount; ++i)
    if (g_modeList[i].width == width && g_modeList[i].height == height && g_modeList[i].colorBits == colorBits)
      return 1;
  return 0;
}
