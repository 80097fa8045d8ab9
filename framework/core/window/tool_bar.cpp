// The tool bar above the client area: its buttons and its height. Nothing
// in this program creates one, so these answer as for a missing tool bar.
#include "core/window/menu_toolbar.h"

namespace {

// The common controls' message that deletes one tool-bar button.
constexpr UINT kToolBarDeleteButton = WM_USER + 22;

ToolBarState g_toolBar;

}  // namespace

ToolBarState& ToolBar() { return g_toolBar; }

int FindToolBarButton(int id) {
  for (int i = 0; i < g_toolBar.buttonCount; ++i) {
    const ToolBarButton& button = g_toolBar.buttons[i];
    if (button.type != kToolBarSeparator && button.id == id) return i;
  }
  return -1;
}

int GetToolBarHeight() {
  if (!g_toolBar.exists) return 0;
  RECT frame{};
  GetWindowRect(g_toolBar.window, &frame);
  return frame.bottom - frame.top;
}

int RemoveAllToolBarButtons() {
  if (!g_toolBar.exists) return -1;
  // Each message deletes the first button, so as many messages as buttons.
  for (int i = 0; i < g_toolBar.buttonCount; ++i) SendMessageA(g_toolBar.window, kToolBarDeleteButton, 0, 0);
  g_toolBar.buttonCount = 0;
  return 0;
}
