// The layer's replay settings from its environment: an input script started
// on the first window shown, and chosen presented frames written as PNG.
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/control.h"
#include "platform/windows.h"
#include "support/temp_dir.h"
#include "window_test_support.h"

namespace {

TEST(ReplayEnvironment, InputScriptStartsWhenTheFirstWindowIsShown) {
  wqtest::TempDir folder;
  folder.WriteFile("keys.txt", "0 RETURN\n");
  setenv("WQ_INPUT_SCRIPT", (folder.path() / "keys.txt").c_str(), 1);
  WqControlEnableVirtualClock(true);
  wqtest::RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, 0, 64, 48);
  EXPECT_EQ(GetKeyState(VK_RETURN) & 0x8000, 0) << "no script before the window is shown";
  ShowWindow(window, SW_SHOW);
  EXPECT_NE(GetKeyState(VK_RETURN) & 0x8000, 0);
  WqControlStopInputScript();
  WqControlEnableVirtualClock(false);
}

TEST(ReplayEnvironment, UnreadableScriptStartsNothing) {
  setenv("WQ_INPUT_SCRIPT", "/nonexistent/keys.txt", 1);
  wqtest::RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, 0, 64, 48);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(GetKeyState(VK_RETURN) & 0x8000, 0);
}

// The picture's pixels as 0x00RRGGBB, or nothing when it is not a PNG.
std::vector<std::uint32_t> ReadPng(const std::filesystem::path& file, int* width, int* height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return {};
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels(image.width * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

TEST(ReplayEnvironment, ListedFramesAreWrittenAsTheyWerePresented) {
  wqtest::TempDir folder;
  setenv("WQ_CAPTURE_FRAMES", "1,2,3,4,5,6,7,8,9,10,11,12,400", 1);
  setenv("WQ_CAPTURE_DIR", folder.path().c_str(), 1);
  wqtest::RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, 0, 64, 48);
  ShowWindow(window, SW_SHOW);
  wqtest::DispatchQueued();
  HDC dc = GetDC(window);
  RECT area{8, 4, 24, 12};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(window, dc);

  // The newest frame written is what the window shows now.
  std::filesystem::path newest;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (newest.empty() || entry.path().filename() > newest.filename()) newest = entry.path();
  }
  ASSERT_FALSE(newest.empty()) << "no frame written";
  EXPECT_NE(newest.filename(), "frame_000400.png");
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t> written = ReadPng(newest, &width, &height);
  std::vector<std::uint32_t> shown;
  int shownWidth = 0;
  int shownHeight = 0;
  ASSERT_TRUE(WqControlReadWindowPixels(window, &shown, &shownWidth, &shownHeight));
  EXPECT_EQ(width, shownWidth);
  EXPECT_EQ(height, shownHeight);
  EXPECT_EQ(written, shown);
  EXPECT_EQ(written[static_cast<std::size_t>(5) * 64 + 9], 0x00FFFFFFu);
}

}  // namespace
