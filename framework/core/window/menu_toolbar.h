// Menu bar and tool bar support. The records and their queries are here,
// but nothing in this program creates a menu or a tool bar, so in practice
// every function answers as for a missing one.
#pragma once

#include "platform/windows.h"

inline constexpr int kMenuItemTextSize = 128;
inline constexpr int kMaxMenuItems = 256;
inline constexpr int kMaxToolBarButtons = 64;
inline constexpr int kToolBarSeparator = 3;

struct MenuItemRecord {
  HMENU menu;
  WORD position;
  WORD id;
  char text[kMenuItemTextSize + 1];
};

struct MenuBarState {
  int exists;
  int hiddenByRequest;  // SetMenuBarVisible(0)
  int alwaysShown;      // also in full screen without the cursor near it
  int hoverCounter;     // full screen: the cursor is over the menu's rows
  MenuItemRecord items[kMaxMenuItems];
  int itemCount;
};

struct ToolBarButton {
  int id;
  int unused1;
  int type;  // kToolBarSeparator for a separator
  int unused3;
  int clicked;
};

struct ToolBarState {
  int exists;
  HWND window;
  int buttonCount;
  ToolBarButton buttons[kMaxToolBarButtons];
};

MenuBarState& MenuBar();
ToolBarState& ToolBar();

// 1 when the main window has a menu that is not hidden by request and is
// always shown, or the window is in window mode, or the cursor hovers over
// it in full screen.
int IsMenuBarShown();
// flag 0 hides the menu bar by request, 1 lets it show again. Returns 0.
int SetMenuBarVisible(int flag);
// Full screen: shows the menu while the cursor is near the top. Returns 0.
int UpdateFullScreenMenu();
// One item of a menu: 1 for a separator, 0 for an item, -1 when it cannot
// be read.
int GetMenuItemRecord(HMENU menu, int index, MenuItemRecord* out);
// Records every item of the menu and its submenus: 0, or -1.
int CollectMenuItems(HMENU menu);
// Copies the text of the recorded item with that id: 0, or -1.
int GetMenuItemTextById(int id, char* text);

// The index of the first button with that id that is not a separator, or -1.
int FindToolBarButton(int id);
// The tool bar's height: 0 without a tool bar.
int GetToolBarHeight();
// Deletes every button: 0, or -1 without a tool bar.
int RemoveAllToolBarButtons();
