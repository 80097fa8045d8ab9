// Golden pictures of text on both renderers: the default font with ASCII,
// kanji, kana and half-width kana, and the face "メイリオ" at 16, 24 and 28
// pixels, plain, edged, anti-aliased and both, across and down. Each
// renderer's picture is written as PNG beside the test; the pictures were
// looked at before their checksums were frozen, and the two renderers must
// agree within a stated tolerance.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/graphics_state.h"
#include "support/png_writer.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

constexpr int kWidth = 882;
constexpr int kHeight = 300;

struct Picture {
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, kWidth x kHeight
};

void WritePng(const std::string& path, const Picture& picture) {
  std::vector<std::uint8_t> rgb;
  for (std::uint32_t p : picture.pixels)
    for (int shift : {16, 8, 0}) rgb.push_back(static_cast<std::uint8_t>(p >> shift));
  ASSERT_TRUE(wqtest::WritePng(path, kWidth, kHeight, 3, rgb.data())) << path;
}

std::uint64_t Fnv1a(const Picture& picture) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint32_t p : picture.pixels)
    for (int shift = 0; shift < 24; shift += 8) hash = (hash ^ ((p >> shift) & 0xFF)) * 0x100000001B3ull;
  return hash;
}

class TextGoldenTest : public TextTest {
 protected:
  // Draws the scene, presents it and reads the window's top band back.
  Picture DrawScene(int hardware) {
    Start(hardware);
    SetScreenBackgroundColor(0x203048);
    ClearDrawTarget(nullptr);
    const std::uint32_t white = MakeColor(255, 255, 255), yellow = MakeColor(255, 240, 96);
    EXPECT_EQ(DrawTextFormat(6, 4, white, "SCORE %07d  Hi-Score: %s  (0123456789) gjpqy", 1234560, "ABCxyz"), 0);
    EXPECT_EQ(DrawTextFormat(6, 24, yellow, "漢字とかなとカナ ｶﾀｶﾅ　全角ＡＢＣ　ゲームオーバー"), 0);
    const std::uint32_t colours[] = {MakeColor(241, 255, 143), MakeColor(255, 128, 64), MakeColor(128, 224, 255),
                                     MakeColor(255, 255, 255)};
    const std::uint32_t edge = MakeColor(192, 32, 64);
    const int sizes[] = {16, 24, 28};
    int y = 48;
    for (int size : sizes) {
      for (int type = 0; type < 4; ++type) {
        const int font = CreateFontToHandle("メイリオ", size, -1, type, -1, -1, 0, -1, -1);
        EXPECT_NE(font, -1);
        const std::string text = std::to_string(size) + (type & 2 ? "AA" : "") + (type & 1 ? "E" : "") + " 漢あア";
        EXPECT_EQ(DrawTextWithFont(6 + type * 205, y, text.c_str(), colours[type], font, edge, 0), 0);
        if (size == 24) {
          const int x = 822 + (type % 2) * 30, top = 48 + (type / 2) * 120;
          EXPECT_EQ(DrawTextWithFont(x, top, "縦書き", colours[type], font, edge, 1), 0);
        }
      }
      y += size + 12;
    }
    // The game's own call: "SCORE  %d" in a 24-pixel font in its HUD colour.
    const int hud = CreateFontToHandle("メイリオ", 24, -1, 0, -1, -1, 0, -1, -1);
    EXPECT_EQ(DrawTextFormatWithFont(6, 200, MakeColor(241, 255, 143), hud, "SCORE  %d", 98765), 0);
    SetBlendMode(1, 128);
    EXPECT_EQ(DrawTextFormat(6, 240, white, "半透明 half alpha"), 0);
    SetBlendMode(0, 0);
    EXPECT_EQ(PresentScreen(), 0);
    int width = 0, height = 0;
    const std::vector<std::uint32_t> window = ReadWindow(&width, &height);
    EXPECT_EQ(width, 882);
    Picture picture;
    picture.pixels.assign(window.begin(), window.begin() + kWidth * kHeight);
    return picture;
  }
};

struct Comparison {
  int differing = 0;  // any channel more than kClose apart
  int largest = 0;
};
constexpr int kClose = 48;

Comparison Compare(const Picture& a, const Picture& b) {
  Comparison c;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
      worst = std::max(worst, std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                                       static_cast<int>((b.pixels[i] >> shift) & 0xFF)));
    c.largest = std::max(c.largest, worst);
    c.differing += worst > kClose ? 1 : 0;
  }
  return c;
}

TEST_F(TextGoldenTest, SoftwareScreenMatchesTheReviewedPicture) {
  const Picture picture = DrawScene(0);
  WritePng("text_golden_software.png", picture);
  EXPECT_EQ(Fnv1a(picture), 7982772994456030180ull);
}

TEST_F(TextGoldenTest, DeviceMatchesTheReviewedPicture) {
  const Picture device = DrawScene(1);
  WritePng("text_golden_device.png", device);
  EXPECT_EQ(Fnv1a(device), 8238330428442713641ull);
}

// The device keeps anti-aliased glyphs in 4-bit alpha and blends in
// floating point; the software screen blends 16 levels in integers. All
// but one pixel in 10,000 must be within kClose (48) on every channel, and
// none more than 64 apart (when frozen: 3 pixels beyond 48, at most 49).
TEST_F(TextGoldenTest, BothRenderersAgreeWithinTheTolerance) {
  const Picture device = DrawScene(1);
  EndLibrary();
  const Picture software = DrawScene(0);
  const Comparison c = Compare(device, software);
  EXPECT_LE(c.differing, kWidth * kHeight / 10000) << "largest channel difference " << c.largest;
  EXPECT_LE(c.largest, 64);
}

}  // namespace
