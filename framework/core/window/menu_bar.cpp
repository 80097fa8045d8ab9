// The menu bar: whether it shows, and the record of its items. A menu is
// never attached in this program (its windows have no menu bar), so the
// paths that would read or attach one answer as for a missing menu.
#include "core/base/string_utils.h"
#include "core/window/menu_toolbar.h"
#include "core/window/window_system_state.h"

namespace {

MenuBarState g_menuBar;

}  // namespace

MenuBarState& MenuBar() { return g_menuBar; }

int IsMenuBarShown() {
  const MenuBarState& menu = g_menuBar;
  if (GetMainWindow() == nullptr || !menu.exists || menu.hiddenByRequest) return 0;
  return menu.alwaysShown || IsWindowMode() || menu.hoverCounter != 0 ? 1 : 0;
}

int SetMenuBarVisible(int flag) {
  g_menuBar.hiddenByRequest = !flag;
  // Without a menu the shown state cannot change: nothing to attach or
  // detach.
  return 0;
}

// The functions below read or attach a menu handle; with none in this
// program they have only their answers for a missing menu.
int UpdateFullScreenMenu() { return 0; }
int GetMenuItemRecord(HMENU, int, MenuItemRecord*) { return -1; }
int CollectMenuItems(HMENU) { return -1; }

int GetMenuItemTextById(int id, char* text) {
  for (int i = 0; i < g_menuBar.itemCount; ++i) {
    const MenuItemRecord& item = g_menuBar.items[i];
    if (item.id != id) continue;
    StringCopy(text, item.text);
    return 0;
  }
  return -1;
}
