// Layered-window presentation, switched on through the window state: the
// window gets the layered style and the user32 entry point, and the screen
// image becomes a window-sized picture below the caption band, keyed,
// opaque, or premultiplied by its alpha, depending on the image and the
// operating system.
#include <string>
#include <vector>

#include "core/window/layered_window.h"
#include "core/window/window_system_state.h"
#include "graphics/render_state.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

class LayeredWindowTest : public TextTest {
 protected:
  void StartLayered(int hardware) {
    WindowSystem().transparentWindow = 1;
    WindowSystem().layeredStyle = 1;
    Start(hardware, 64, 32);
  }
  void TearDown() override {
    TextTest::TearDown();
    WindowSystem().transparentWindow = 0;
    WindowSystem().layeredStyle = 0;
  }
  // The layered picture's pixel at image coordinates (below the caption).
  static std::uint32_t Layered(int x, int y) {
    int width = 0, height = 0;
    const std::uint32_t* pixels = GetLayeredWindowPixels(&width, &height);
    EXPECT_NE(pixels, nullptr);
    if (pixels == nullptr) return 0xDEADBEEFu;
    return pixels[(y + WindowSystem().captionOffset) * width + x];
  }
};

struct ImageCase {
  const char* name;
  int osCode;
  int alphaFlag;
  std::uint32_t (*pixel)(int x);  // 0xAARRGGBB of pixel x of a 4 x 1 image
  bool asRgb565;
  std::uint32_t expected[4];
  std::uint32_t captionBand;
};

std::uint32_t MixedAlpha(int x) {
  static constexpr std::uint32_t kPixels[4] = {0x00FFFFFFu, 0xFF102030u, 0xFF804020u, 0x80FF8040u};
  return kPixels[x];
}

// The transparent colour is 0x102030 in every case.
const ImageCase kCases[] = {
    {"VistaOpaqueKeyed", 0x109, 0, [](int x) { return x == 1 ? 0x102030u : 0x405060u + x; }, false,
     {0xFF405060u, 0, 0xFF405062u, 0xFF405063u}, 0},
    {"VistaRgb565", 0x109, 0, [](int x) { return x == 2 ? 0x102030u : 0xF80000u >> x; }, true,
     {0xFFFF0000u, 0xFF7B0000u, 0, 0xFF180000u}, 0},
    {"AlphaPremultiplied", 0x109, 1, MixedAlpha, false,
     {0, 0, 0xFF804020u, 0x807F4020u}, 0},
    {"BeforeVistaColourKey", 0x107, 0, [](int x) { return x == 0 ? 0x102030u : 0x00FF00u; }, false,
     {0x102030u, 0x00FF00u, 0x00FF00u, 0x00FF00u}, 0x102030u},
    {"AlphaIgnoredBeforeVistaWithoutTheFlag", 0x107, 0, [](int) { return 0x40ABCDEFu; }, false,
     {0xABCDEFu, 0xABCDEFu, 0xABCDEFu, 0xABCDEFu}, 0x102030u},
};

class LayeredImageTest : public LayeredWindowTest, public ::testing::WithParamInterface<ImageCase> {};

TEST_P(LayeredImageTest, ThePictureBelowTheCaptionBand) {
  const ImageCase& c = GetParam();
  StartLayered(0);
  WindowSystem().osCode = c.osCode;
  TransparentColor = 0x102030;
  BaseImage image{};
  if (c.asRgb565) {
    ColorFormat format{};
    MakeColorFormatFromMasks(&format, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_EQ(CreateBaseImageSameFormat(4, 1, &format, &image), 0);
  } else {
    ASSERT_EQ(CreateArgbBaseImage(4, 1, &image), 0);
  }
  for (int x = 0; x < 4; ++x) {
    const std::uint32_t p = c.pixel(x);
    SetBaseImagePixel(&image, x, 0, p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, static_cast<int>(p >> 24));
  }
  ASSERT_EQ(UpdateLayeredWindowImage(&image, nullptr, c.alphaFlag), 0);
  ReleaseBaseImage(&image);
  int width = 0, height = 0;
  ASSERT_NE(GetLayeredWindowPixels(&width, &height), nullptr);
  EXPECT_EQ(width, 4);
  EXPECT_GT(WindowSystem().captionOffset, 0);
  EXPECT_EQ(height, 1 + WindowSystem().captionOffset);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Layered(x, 0), c.expected[x]) << x;
  EXPECT_EQ(Layered(0, -1), c.captionBand);
}

INSTANTIATE_TEST_SUITE_P(Formats, LayeredImageTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

TEST_F(LayeredWindowTest, WithoutTheSwitchesTheWindowIsPlain) {
  Start(0, 64, 32);
  EXPECT_EQ(GetWindowLongA(GetMainWindow(), GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT), 0);
  ASSERT_EQ(PresentScreen(), 0);
  int width = 0, height = 0;
  EXPECT_EQ(GetLayeredWindowPixels(&width, &height), nullptr);
}

// The present goes through the layered window on either renderer: key
// coloured pixels are holes, the window shows the rest.
class LayeredPresentTest : public LayeredWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(LayeredPresentTest, ThePresentShowsTheScreenThroughTheLayeredWindow) {
  StartLayered(GetParam());
  const LONG exStyle = GetWindowLongA(GetMainWindow(), GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT), static_cast<LONG>(WS_EX_LAYERED | WS_EX_TRANSPARENT));
  ASSERT_NE(GetUpdateLayeredWindowEntry(), nullptr);
  SetScreenBackgroundColor(0x000000);
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);  // black: the default transparent colour
  ASSERT_EQ(DrawCircleShape(32, 16, 10, static_cast<int>(MakeColor(255, 128, 0)), 1), 0);
  ASSERT_EQ(PresentScreen(), 0);
  EXPECT_EQ(Layered(0, 0), 0u);                    // a hole
  EXPECT_EQ(Layered(32, 16), 0xFFFF8000u);         // opaque
  int width = 0, height = 0;
  const std::vector<std::uint32_t> window = ReadWindow(&width, &height);
  int orange = 0;
  for (std::uint32_t pixel : window) orange += pixel == 0xFF8000u ? 1 : 0;
  EXPECT_GT(orange, 250);  // the disc of radius 10
  EXPECT_EQ(window[0], 0u);
}

INSTANTIATE_TEST_SUITE_P(Renderers, LayeredPresentTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param ? std::string("Device") : std::string("SoftwareScreen");
                         });

TEST_F(LayeredWindowTest, WithoutTheEntryPointNothingIsPresented) {
  WqControlSetExportAbsent("user32", "UpdateLayeredWindow", true);
  StartLayered(0);
  EXPECT_EQ(GetUpdateLayeredWindowEntry(), nullptr);
  EXPECT_EQ(PresentScreen(), 0);
  int width = 0, height = 0;
  EXPECT_EQ(GetLayeredWindowPixels(&width, &height), nullptr);
  WqControlSetExportAbsent("user32", "UpdateLayeredWindow", false);
}

}  // namespace
