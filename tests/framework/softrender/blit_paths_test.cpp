// Which path a blit takes and what it refuses: the checks at the head, the
// transparent colour of palettised sources, the choice of the run-length
// path, and the run-length walk itself (rows, long runs, a stream that
// claims more pixels than the row holds).
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "reference_model.h"
#include "softrender/image_blit.h"

namespace blit_test {
namespace {

void Fill32(GuardedImage& image, std::uint32_t value) {
  for (int y = 0; y < image.View()->height; ++y)
    for (int x = 0; x < image.View()->width; ++x) std::memcpy(image.Pixel(x, y), &value, 4);
}
std::uint32_t Read32(GuardedImage& image, int x, int y) {
  std::uint32_t value;
  std::memcpy(&value, image.Pixel(x, y), 4);
  return value;
}

struct Refusal {
  const char* what;
  int dstType, dstPalette, dstAlpha;
  int srcType;
};
const Refusal kRefusals[] = {
    {"32-bit source into RGB565", kMemImgRgb565, 0, 0, kMemImgRgb32},
    {"RGB565 source into 32-bit", kMemImgRgb32, 0, 0, kMemImgRgb565},
    {"palettised destination", kMemImgRgb32, 1, 0, kMemImgRgb32},
    {"destination with alpha", kMemImgRgb32, 0, 1, kMemImgRgb32},
    {"single-channel images", kMemImgChannel8, 0, 0, kMemImgChannel8},
};

TEST(BlitRefusals, LeaveTheDestinationUntouched) {
  std::mt19937 random(7);
  for (const Refusal& r : kRefusals)
    for (int stretched = 0; stretched < 2; ++stretched) {
      SCOPED_TRACE(r.what);
      GuardedImage dst, src;
      dst.Create(8, 8, 1, r.dstType, r.dstPalette, r.dstAlpha);
      src.Create(4, 4, 0, r.srcType, 0, 0);
      FillRandom(dst, random);
      FillRandom(src, random);
      ResetDrawState(dst.View());
      const std::vector<std::uint8_t> before = dst.Bytes();
      const RECT sameSize{1, 1, 5, 5}, doubled{0, 0, 8, 8};
      if (stretched) {
        MemImgStretchBlit(dst.View(), src.View(), &sameSize, 0, nullptr);
        MemImgStretchBlit(dst.View(), src.View(), &doubled, 0, nullptr);
      } else {
        MemImgBlit(dst.View(), src.View(), 1, 1, 0, nullptr);
      }
      EXPECT_EQ(dst.Bytes(), before);
    }
}

// The blend image is read at the source's coordinates: one that does not
// cover the source, or has more than a byte per pixel, draws nothing.
TEST(BlitRefusals, ABlendImageSmallerThanTheSourceDrawsNothing) {
  std::mt19937 random(8);
  GuardedImage dst, src, narrow, low, wide;
  dst.Create(8, 8, 0, kMemImgRgb32, 0, 0);
  src.Create(4, 4, 0, kMemImgRgb32, 0, 0);
  narrow.Create(3, 4, 0, kMemImgChannel8, 0, 0);
  low.Create(4, 3, 0, kMemImgChannel8, 0, 0);
  wide.Create(4, 4, 0, kMemImgRgb32, 0, 0);
  FillRandom(dst, random);
  FillRandom(src, random);
  ResetDrawState(dst.View());
  const std::vector<std::uint8_t> before = dst.Bytes();
  const RECT doubled{0, 0, 8, 8};
  for (GuardedImage* blend : {&narrow, &low, &wide}) {
    MemImgBlit(dst.View(), src.View(), 0, 0, 0, blend->View());
    MemImgStretchBlit(dst.View(), src.View(), &doubled, 0, blend->View());
  }
  EXPECT_EQ(dst.Bytes(), before);
}

TEST(BlitPalette, TransparentIndexSkipsExactlyItsPixels) {
  GuardedImage dst, src;
  dst.Create(16, 16, 0, kMemImgRgb32, 0, 0);
  src.Create(16, 16, 0, kMemImgRgb32, 1, 0);
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t entry = 0x00010101u * static_cast<std::uint32_t>(i);
    std::memcpy(src.Data()->palette + 4 * i, &entry, 4);
    *src.Pixel(i % 16, i / 16) = static_cast<std::uint8_t>(i);
  }
  std::memcpy(src.Data()->palette + 4 * 9, src.Data()->palette + 4 * 7, 4);  // 9 looks like 7
  src.Data()->transparentColor = 7;
  Fill32(dst, 0xCAFEBABE);
  ResetDrawState(dst.View());
  MemImgBlit(dst.View(), src.View(), 0, 0, 1, nullptr);
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t expected = i == 7 ? 0xCAFEBABE : (i == 9 ? 0x00070707u : 0x00010101u * i);
    EXPECT_EQ(Read32(dst, i % 16, i / 16), expected) << "index " << i;
  }
}

// Mode 2 at full parameter tells the paths apart: green 3 plus green 3 is 4
// on the normal path and 5 on the run-length path.
class RunLengthChoice : public testing::Test {
 protected:
  void SetUp() override {
    dst_.Create(6, 5, 0, kMemImgRgb32, 0, 0);
    src_.Create(4, 3, 0, kMemImgRgb32, 0, 0, 1);
    Fill32(src_, 0x00000300);
    src_.Data()->transparentColor = 0;
    src_.RefreshPlanes();
    ASSERT_EQ(src_.Data()->runLengthValid, 1);
    Fill32(dst_, 0x00000300);
    ResetDrawState(dst_.View());
    BlendMode = 2;
    BlendParam = 255;
  }
  GuardedImage dst_, src_;
};

TEST_F(RunLengthChoice, OnlyAnUnclippedDrawWithTransparentOneWalksTheStream) {
  MemImgBlit(dst_.View(), src_.View(), 1, 1, 1, nullptr);
  EXPECT_EQ(Read32(dst_, 1, 1), 0x00000500u);
  Fill32(dst_, 0x00000300);
  MemImgBlit(dst_.View(), src_.View(), 1, 1, 2, nullptr);
  EXPECT_EQ(Read32(dst_, 1, 1), 0x00000400u);
  for (const RECT area : {RECT{2, 1, 6, 5}, RECT{1, 2, 6, 5}, RECT{0, 0, 4, 5}, RECT{0, 0, 6, 3}}) {
    Fill32(dst_, 0x00000300);
    DrawArea = area;
    MemImgBlit(dst_.View(), src_.View(), 1, 1, 1, nullptr);
    EXPECT_EQ(Read32(dst_, 2, 2), 0x00000400u) << area.left << "," << area.top << "," << area.right;
  }
}

TEST_F(RunLengthChoice, AViewOfPartOfTheImageTakesTheNormalPath) {
  MEMIMG part{};
  MakeMemImgView(&part, src_.View(), 1, 1, 2, 2);
  MemImgBlit(dst_.View(), &part, 0, 0, 1, nullptr);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(Read32(dst_, x, y), x < 2 && y < 2 ? 0x00000400u : 0x00000300u) << x << "," << y;
  ReleaseMemImg(&part);
}

// A stream written by hand: an empty row, one 64-pixel run, a run that
// claims more pixels than the row has.
TEST(RunLengthWalk, HandlesEmptyRowsLongRunsAndOverlongRuns) {
  GuardedImage dst, src;
  dst.Create(70, 3, 2, kMemImgRgb32, 0, 0);
  src.Create(64, 3, 0, kMemImgRgb32, 0, 0, 1);
  Fill32(src, 0x00ABCDEF);
  Fill32(dst, 0x11111111);
  const std::uint8_t stream[] = {0xC0, 0x7F, 0xC0, 0x00, 0x7F, 0x7F, 0xC0};
  std::memcpy(src.Data()->runLengths, stream, sizeof stream);
  src.Data()->runLengthValid = 1;
  ResetDrawState(dst.View());
  const std::vector<std::uint8_t> before = dst.Bytes();
  MemImgBlit(dst.View(), src.View(), 0, 0, 1, nullptr);
  const std::vector<std::uint8_t> drawn = dst.Bytes();
  // Row 0 untouched, row 1 one run of 64, row 2 from column 1 to the row's end.
  dst.SetBytes(before);
  for (int x = 0; x < 64; ++x) std::memcpy(dst.Pixel(x, 1), "\xEF\xCD\xAB\x00", 4);
  for (int x = 1; x < 64; ++x) std::memcpy(dst.Pixel(x, 2), "\xEF\xCD\xAB\x00", 4);
  EXPECT_EQ(drawn, dst.Bytes());
}

// Where the rules of the two paths agree, a source with a stream drawn
// unclipped with transparent 1 (run-length) equals the same draw with
// transparent 2 (normal path).
TEST(RunLengthAgreement, MatchesTheNormalPathWhereTheRulesAgree) {
  std::mt19937 random(11);
  struct Format {
    int type, palette, alpha;
  };
  for (const Format f : {Format{kMemImgRgb32, 0, 0}, Format{kMemImgRgb32, 0, 1}, Format{kMemImgRgb32, 1, 0},
                         Format{kMemImgRgb565, 0, 0}, Format{kMemImgRgb565, 0, 1}, Format{kMemImgRgb565, 1, 0}})
    for (const std::uint32_t mode : {0u, 2u, 3u, 10u, 11u})
      for (int selectors = 0; selectors < 4; ++selectors) {
        SCOPED_TRACE(testing::Message() << "type " << f.type << " palette " << f.palette << " alpha " << f.alpha
                                        << " mode " << mode << " selectors " << selectors);
        GuardedImage dst, src, blend;
        dst.Create(12, 10, 1, f.type, 0, 0);
        src.Create(9, 7, 0, f.type, f.palette, f.alpha, 1);
        blend.Create(9, 7, 0, kMemImgChannel8, 0, 0);
        FillRandom(dst, random);
        FillRandom(src, random);
        FillRandom(blend, random);
        src.RefreshPlanes();
        ResetDrawState(dst.View());
        BuildBlendImageTable(100, 200);
        BlendMode = mode;
        BlendParam = 200;
        if (selectors & 2) DrawBright = 0x80C0FF;
        const MEMIMG* blendView = (selectors & 1) ? blend.View() : nullptr;
        const std::vector<std::uint8_t> before = dst.Bytes();
        MemImgBlit(dst.View(), src.View(), 2, 1, 1, blendView);
        const std::vector<std::uint8_t> walked = dst.Bytes();
        dst.SetBytes(before);
        MemImgBlit(dst.View(), src.View(), 2, 1, 2, blendView);
        EXPECT_EQ(walked, dst.Bytes());
        EXPECT_NE(walked, before);
      }
}

}  // namespace
}  // namespace blit_test
