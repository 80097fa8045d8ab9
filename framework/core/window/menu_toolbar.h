// Menu bar and tool bar support. Nothing in this program creates either, so
// only their answers for a missing menu and tool bar are present.
#pragma once

// 1 when a menu exists and is to be shown: never, without a menu.
int IsMenuBarShown();
// The full-screen menu hover: nothing to do without a menu. Returns 0.
int UpdateFullScreenMenu();
// The tool bar's height: 0 without a tool bar.
int GetToolBarHeight();
