#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/control.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

class WindowDropFilesTest : public testing::Test {
 protected:
  void SetUp() override { window_ = window_class_.Create(WS_POPUP); }

  HDROP TakeDrop() {
    for (const MSG& msg : wqtest::DispatchQueued()) {
      if (msg.message == WM_DROPFILES) return reinterpret_cast<HDROP>(msg.wParam);
    }
    return nullptr;
  }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(WindowDropFilesTest, AcceptedDropsArriveAsWindowsPathsInShiftJis) {
  DragAcceptFiles(window_, TRUE);
  WqControlDropFiles(window_, {"/tmp/a.txt", reinterpret_cast<const char*>(u8"/work/表.png")});
  HDROP drop = TakeDrop();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0), 2u);

  char name[MAX_PATH];
  EXPECT_EQ(DragQueryFileA(drop, 0, name, sizeof name), 12u);
  EXPECT_STREQ(name, "C:\\tmp\\a.txt");
  EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 14u);
  EXPECT_EQ(DragQueryFileA(drop, 1, name, sizeof name), 14u);
  EXPECT_STREQ(name, "C:\\work\\表.png");
  // A short buffer takes what fits, with the terminator.
  EXPECT_EQ(DragQueryFileA(drop, 0, name, 5), 4u);
  EXPECT_STREQ(name, "C:\\t");
  EXPECT_EQ(DragQueryFileA(drop, 2, name, sizeof name), 0u);

  DragFinish(drop);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0), 0u);
}

TEST_F(WindowDropFilesTest, AWindowThatDoesNotAcceptFilesGetsNoDrop) {
  WqControlDropFiles(window_, {"/tmp/a.txt"});
  EXPECT_EQ(TakeDrop(), nullptr);
  DragAcceptFiles(window_, TRUE);
  DragAcceptFiles(window_, FALSE);
  WqControlDropFiles(window_, {"/tmp/a.txt"});
  EXPECT_EQ(TakeDrop(), nullptr);
}

// SDL's own free, watched for the one string a test hands to SDL.
SDL_free_func sdl_free = nullptr;
void* watched_string = nullptr;
bool watched_string_freed = false;

void WatchingFree(void* memory) {
  if (memory != nullptr && memory == watched_string) watched_string_freed = true;
  sdl_free(memory);
}

TEST_F(WindowDropFilesTest, DroppedTextIsFreedAndDropsNothing) {
  DragAcceptFiles(window_, TRUE);
  SDL_malloc_func sdl_malloc;
  SDL_calloc_func sdl_calloc;
  SDL_realloc_func sdl_realloc;
  SDL_GetMemoryFunctions(&sdl_malloc, &sdl_calloc, &sdl_realloc, &sdl_free);
  SDL_SetMemoryFunctions(sdl_malloc, sdl_calloc, sdl_realloc, WatchingFree);

  SDL_Event event{};
  event.type = SDL_DROPTEXT;
  event.drop.file = SDL_strdup("dropped words");
  watched_string = event.drop.file;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  EXPECT_EQ(TakeDrop(), nullptr);
  EXPECT_TRUE(watched_string_freed);
  SDL_SetMemoryFunctions(sdl_malloc, sdl_calloc, sdl_realloc, sdl_free);
}

}  // namespace
