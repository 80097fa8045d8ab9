#include "core/window/menu_toolbar.h"

int IsMenuBarShown() { return 0; }
int UpdateFullScreenMenu() { return 0; }
int GetToolBarHeight() { return 0; }
