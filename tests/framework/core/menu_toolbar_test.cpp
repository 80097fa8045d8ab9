// The menu bar and tool bar services: their answers with neither (the state
// of this program), and their record queries over records put in place by
// the test.
#include <gtest/gtest.h>

#include <cstring>

#include "WqLib.h"
#include "core/window/main_window.h"
#include "core/window/menu_toolbar.h"
#include "core/window/window_system_state.h"
#include "platform/windows.h"
#include "startup_test_support.h"

namespace {

class MenuToolBarTest : public wqtest::StartedLibraryTest {
 protected:
  void TearDown() override {
    MenuBar() = MenuBarState{};
    ToolBar() = ToolBarState{};
    if (toolBarWindow_ != nullptr) DestroyWindow(toolBarWindow_);
    wqtest::StartedLibraryTest::TearDown();
  }

  HWND toolBarWindow_ = nullptr;
};

TEST_F(MenuToolBarTest, WithoutAMenuOrAToolBarEachServiceAnswersAsForAMissingOne) {
  MenuItemRecord record{};
  char text[kMenuItemTextSize + 1] = "unchanged";
  EXPECT_EQ(IsMenuBarShown(), 0);
  EXPECT_EQ(SetMenuBarVisible(1), 0);
  EXPECT_EQ(IsMenuBarShown(), 0);
  EXPECT_EQ(SetMenuBarVisible(0), 0);
  EXPECT_EQ(UpdateFullScreenMenu(), 0);
  EXPECT_EQ(GetMenuItemRecord(nullptr, 0, &record), -1);
  EXPECT_EQ(CollectMenuItems(nullptr), -1);
  EXPECT_EQ(GetMenuItemTextById(1, text), -1);
  EXPECT_STREQ(text, "unchanged");
  EXPECT_EQ(FindToolBarButton(1), -1);
  EXPECT_EQ(GetToolBarHeight(), 0);
  EXPECT_EQ(RemoveAllToolBarButtons(), -1);
  // Nothing shows a menu, so hiding the mouse hides the cursor.
  EXPECT_EQ(SetMouseVisible(0), 0);
  EXPECT_EQ(WindowSystem().cursorShown, 0);
}

TEST_F(MenuToolBarTest, AMenuShowsUnlessHiddenInWindowModeAlwaysOrWhileHoveredTable) {
  struct ShownCase {
    int windowMode;
    int hiddenByRequest;
    int alwaysShown;
    int hoverCounter;
    int shown;
  };
  const ShownCase cases[] = {
      {1, 0, 0, 0, 1}, {1, 1, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 1, 0, 1},
      {0, 0, 0, 1, 1}, {0, 1, 1, 1, 0},
  };
  MenuBar().exists = 1;
  for (const ShownCase& test : cases) {
    SCOPED_TRACE(testing::Message() << test.windowMode << test.hiddenByRequest << test.alwaysShown
                                    << test.hoverCounter);
    WindowSystem().windowMode = test.windowMode;
    MenuBar().hiddenByRequest = test.hiddenByRequest;
    MenuBar().alwaysShown = test.alwaysShown;
    MenuBar().hoverCounter = test.hoverCounter;
    EXPECT_EQ(IsMenuBarShown(), test.shown);
  }
  WindowSystem().windowMode = 1;
  MenuBar().hiddenByRequest = 0;
  EXPECT_EQ(SetMenuBarVisible(0), 0);
  EXPECT_EQ(IsMenuBarShown(), 0);
  EXPECT_EQ(SetMenuBarVisible(1), 0);
  EXPECT_EQ(IsMenuBarShown(), 1);
}

TEST_F(MenuToolBarTest, ItemTextIsFoundByItsId) {
  MenuBarState& menu = MenuBar();
  menu.items[0] = MenuItemRecord{nullptr, 0, 3, "Open"};
  menu.items[1] = MenuItemRecord{nullptr, 1, 5, "Quit"};
  menu.itemCount = 2;
  char text[kMenuItemTextSize + 1] = "";
  EXPECT_EQ(GetMenuItemTextById(5, text), 0);
  EXPECT_STREQ(text, "Quit");
  EXPECT_EQ(GetMenuItemTextById(4, text), -1);
}

int g_deleteButtonMessages = 0;

LRESULT CountDeleteButtons(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 22) ++g_deleteButtonMessages;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MenuToolBarTest, ToolBarButtonsAreFoundPastSeparatorsAndAllRemoved) {
  WNDCLASSEXA toolBarClass{};
  toolBarClass.cbSize = sizeof(toolBarClass);
  toolBarClass.lpfnWndProc = CountDeleteButtons;
  toolBarClass.lpszClassName = "TestToolBar";
  ASSERT_NE(RegisterClassExA(&toolBarClass), 0);
  toolBarWindow_ = CreateWindowExA(0, "TestToolBar", "", WS_POPUP, 0, 0, 200, 28, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(toolBarWindow_, nullptr);

  ToolBarState& toolBar = ToolBar();
  toolBar.exists = 1;
  toolBar.window = toolBarWindow_;
  toolBar.buttons[0] = ToolBarButton{4, 0, kToolBarSeparator, 0, 0};
  toolBar.buttons[1] = ToolBarButton{4, 0, 0, 0, 0};
  toolBar.buttons[2] = ToolBarButton{7, 0, 0, 0, 0};
  toolBar.buttonCount = 3;

  EXPECT_EQ(FindToolBarButton(4), 1);
  EXPECT_EQ(FindToolBarButton(7), 2);
  EXPECT_EQ(FindToolBarButton(9), -1);
  EXPECT_EQ(GetToolBarHeight(), 28);

  EXPECT_EQ(RemoveAllToolBarButtons(), 0);
  EXPECT_EQ(g_deleteButtonMessages, 3);
  EXPECT_EQ(FindToolBarButton(7), -1);
}

// The stored picture is never set here: drawing it fails, except during
// shutdown, when it is skipped as done.
TEST_F(MenuToolBarTest, TheStoredPictureIsMissingExceptWhileEnding) {
  HDC dc = GetDC(GetMainWindow());
  EXPECT_EQ(DrawStoredScreenGraph(dc), -1);
  WindowSystem().ending = 1;
  EXPECT_EQ(DrawStoredScreenGraph(dc), 0);
  WindowSystem().ending = 0;
  ReleaseDC(GetMainWindow(), dc);
}

}  // namespace
