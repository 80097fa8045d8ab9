// The display uncovering a window: the window shows its last frame again,
// and asks its program to paint only off the virtual clock, where a replay
// must present the same frames however the display behaves.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/control.h"
#include "platform/windows.h"
#include "user32/window_table.h"
#include "window_test_support.h"

namespace {

class WindowExposeTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = window_class_.Create(WS_POPUP);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    wqtest::DispatchQueued();
  }
  void TearDown() override {
    WqControlEnableVirtualClock(false);
    DestroyWindow(window_);
  }

  // Queues the display's exposure of the window and takes the messages it
  // brings: whether a WM_PAINT is among them.
  bool ExposureAsksForPaint() {
    const auto record = wqplat::FindWindowRecord(window_);
    EXPECT_NE(record, nullptr);
    if (record == nullptr) return false;
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_EXPOSED;
    event.window.windowID = record->sdl_window_id;
    EXPECT_EQ(SDL_PushEvent(&event), 1);
    window_class_.Clear();
    wqtest::DispatchQueued();
    const auto paints = window_class_.MessageIds({WM_PAINT});
    return std::find(paints.begin(), paints.end(), UINT{WM_PAINT}) != paints.end();
  }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(WindowExposeTest, ExposureAsksForPaintOnlyOffTheVirtualClock) {
  WqControlEnableVirtualClock(true);
  EXPECT_FALSE(ExposureAsksForPaint());
  WqControlEnableVirtualClock(false);
  EXPECT_TRUE(ExposureAsksForPaint());
}

}  // namespace
