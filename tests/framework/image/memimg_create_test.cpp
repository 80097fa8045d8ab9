// Software images: creation rules, pitch and its log2, flag coercion,
// views and their reference counts, release, size refusals.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/memimg.h"

namespace {

struct PitchCase {
  int width;
  int colorType;
  int alphaFlag;
  int pitch;  // -1: automatic
  int expectedPitch;
  int expectedLog2;
};

class MemImgPitchTest : public testing::TestWithParam<PitchCase> {};

TEST_P(MemImgPitchTest, PitchAndLog2FollowTheRowSize) {
  const PitchCase& c = GetParam();
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, c.width, 4, c.pitch, 0, c.colorType, 0, c.alphaFlag, 0, nullptr), 0);
  EXPECT_EQ(image.data->pitch, c.expectedPitch);
  EXPECT_EQ(image.data->pitchLog2, c.expectedLog2);
  ReleaseMemImg(&image);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MemImgPitchTest,
    testing::Values(PitchCase{100, kMemImgRgb32, 0, -1, 400, -1},  // 400 is no power of two
                    PitchCase{64, kMemImgRgb32, 0, -1, 256, 8},
                    PitchCase{3, kMemImgRgb565, 0, -1, 16, -1},  // padded beyond the row's 8
                    PitchCase{4, kMemImgRgb565, 0, -1, 16, -1},  // row 8 padded to 16
                    PitchCase{8, kMemImgRgb565, 0, -1, 16, 4}, PitchCase{1, kMemImgChannel8, 0, -1, 16, -1},
                    PitchCase{3, kMemImgRgb565, 1, -1, 16, 4},  // alpha: 4 bytes, row 12 rounds to 16
                    PitchCase{5, kMemImgRgb32, 0, 32, 32, 5},   // caller's power of two
                    PitchCase{5, kMemImgRgb32, 0, 24, 24, -1}));

TEST(MemImgCreateTest, FlagsAreCoercedAndFormatsMatchTheType) {
  struct {
    int type, palette, alpha;
    int expectPalette, expectAlpha, bytesPerPixel, colorBits;
  } cases[] = {
      {kMemImgRgb565, 0, 0, 0, 0, 2, 16},    {kMemImgRgb565, 0, 1, 0, 1, 4, 32},
      {kMemImgRgb565, 1, 1, 1, 0, 1, 8},  // a palette excludes alpha
      {kMemImgRgb32, 0, 1, 0, 1, 4, 32},     {kMemImgRgb32, 1, 0, 1, 0, 1, 8},
      {kMemImgChannel8, 1, 1, 0, 0, 1, 8},  // single channels take neither
      {kMemImgChannel16, 0, 1, 0, 0, 2, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " palette " << c.palette << " alpha " << c.alpha);
    MEMIMG image{};
    ASSERT_EQ(CreateMemImg(&image, 7, 3, -1, 0x1234, c.type, c.palette, c.alpha, 0, nullptr), 0);
    const MemImgData* data = image.data;
    EXPECT_EQ(data->paletteFlag, c.expectPalette);
    EXPECT_EQ(data->alphaFlag, c.expectAlpha);
    EXPECT_EQ(data->colorFormat->bytesPerPixel, c.bytesPerPixel);
    EXPECT_EQ(data->colorFormat->bits, c.colorBits);
    EXPECT_EQ(data->colorFormat, GetMemImgColorFormat(c.type, c.expectAlpha, c.expectPalette));
    EXPECT_EQ(data->refCount, 1);
    EXPECT_EQ(data->transparentColor, 0x1234u);
    EXPECT_EQ(image.pixels, data->pixelBuffer);
    if (c.expectPalette) {
      ASSERT_NE(data->palette, nullptr);
      EXPECT_EQ(data->secondPalette, data->palette + 1024);
      EXPECT_EQ(data->palette[2047], 0);  // the whole block starts zeroed
    } else {
      EXPECT_EQ(data->palette, nullptr);
    }
    ReleaseMemImg(&image);
  }
}

TEST(MemImgCreateTest, ExtraPlanesFollowTheAlphaFlagAndType) {
  MEMIMG alpha{}, plain{}, channel{};
  ASSERT_EQ(CreateMemImg(&alpha, 10, 5, -1, 0, kMemImgRgb32, 0, 1, 1, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&plain, 10, 5, -1, 0, kMemImgRgb565, 0, 0, 1, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&channel, 10, 5, -1, 0, kMemImgChannel8, 0, 0, 1, nullptr), 0);
  EXPECT_NE(alpha.data->premultipliedPlane, nullptr);
  EXPECT_EQ(alpha.premultipliedPixels, alpha.data->premultipliedPlane);
  EXPECT_NE(alpha.data->runLengths, nullptr);
  EXPECT_EQ(plain.data->premultipliedPlane, nullptr);
  EXPECT_NE(plain.data->runLengths, nullptr);
  EXPECT_EQ(channel.data->runLengths, nullptr);
  ReleaseMemImg(&alpha);
  ReleaseMemImg(&plain);
  ReleaseMemImg(&channel);
}

TEST(MemImgCreateTest, MarkedHeaderIsRefusedAndLeftAlone) {
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, 4, 4, -1, 0, kMemImgRgb32, 0, 0, 0, nullptr), 0);
  const MEMIMG before = image;
  EXPECT_EQ(CreateMemImg(&image, 8, 8, -1, 0, kMemImgRgb565, 0, 0, 0, nullptr), -1);
  EXPECT_EQ(std::memcmp(&before, &image, sizeof(image)), 0);
  EXPECT_EQ(image.data->width, 4);
  ReleaseMemImg(&image);
}

TEST(MemImgCreateTest, SizesThatDoNotFitAreRefusedWithoutAllocating) {
  const int blocksBefore = GetTrackedBlockCount();
  struct {
    int width, height, pitch, type;
  } cases[] = {
      {INT_MAX, 1, -1, kMemImgRgb32},         // the row alone overflows 32 bits
      {65536, 65536, -1, kMemImgRgb32},       // pitch x height overflows
      {1, INT_MAX, 64, kMemImgRgb32},         // a caller's pitch x height
      {1000, INT_MAX / 8, 8, kMemImgRgb565},  // a short caller pitch: the run-length stream's size
      {-1, 4, -1, kMemImgRgb32},
      {4, -1, -1, kMemImgRgb32},
      {4, 4, -1, 4},  // no such colour type
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " pitch " << c.pitch);
    MEMIMG image{};
    EXPECT_EQ(CreateMemImg(&image, c.width, c.height, c.pitch, 0, c.type, 0, 0, 1, nullptr), -1);
    EXPECT_EQ(IsMemImgInUse(&image), 0);
    EXPECT_EQ(image.data, nullptr);
  }
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
}

TEST(MemImgCreateTest, CallerBufferIsUsedAndNeverFreed) {
  alignas(16) std::uint8_t buffer[64 * 2] = {};
  const int blocksBefore = GetTrackedBlockCount();
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, 16, 2, 64, 0, kMemImgRgb32, 0, 0, 0, buffer), 0);
  EXPECT_EQ(image.pixels, buffer);
  EXPECT_EQ(image.data->callerOwnsPixels, 1);
  ReleaseMemImg(&image);
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
  buffer[0] = 1;  // still ours; ASan reports a use after free otherwise
}

TEST(MemImgViewTest, ViewPointsIntoTheOwnerAndKeepsItAlive) {
  MEMIMG owner{}, view{};
  ASSERT_EQ(CreateMemImg(&owner, 40, 30, -1, 0, kMemImgRgb32, 0, 1, 1, nullptr), 0);
  const int pitch = owner.data->pitch;
  MakeMemImgView(&view, &owner, 10, 10, 5, 5);
  ASSERT_EQ(IsMemImgInUse(&view), 1);
  EXPECT_EQ(view.pixels, owner.pixels + 10 * pitch + 40);
  EXPECT_EQ(view.premultipliedPixels, owner.premultipliedPixels + 10 * pitch + 40);
  EXPECT_EQ(view.width, 5);
  EXPECT_EQ(view.height, 5);
  EXPECT_EQ(owner.data->refCount, 2);

  MEMIMG inner{};
  MakeMemImgView(&inner, &view, 1, 2, 3, 3);  // a view of a view adds its own offset
  EXPECT_EQ(inner.pixels, owner.pixels + 12 * pitch + 44);
  EXPECT_EQ(owner.data->refCount, 3);

  const int blocks = GetTrackedBlockCount();
  ReleaseMemImg(&owner);
  EXPECT_EQ(owner.marker, 0u);
  EXPECT_EQ(owner.data, nullptr);
  EXPECT_EQ(GetTrackedBlockCount(), blocks);  // the views keep the pixels
  std::memset(view.pixels, 0x5A, 5 * 4);      // still writable (ASan checks)
  ReleaseMemImg(&view);
  EXPECT_EQ(GetTrackedBlockCount(), blocks);
  ReleaseMemImg(&inner);
  EXPECT_LT(GetTrackedBlockCount(), blocks);
}

TEST(MemImgViewTest, RectanglesOutsideTheSourceChangeNothing) {
  MEMIMG owner{};
  ASSERT_EQ(CreateMemImg(&owner, 20, 10, -1, 0, kMemImgRgb565, 0, 0, 0, nullptr), 0);
  struct {
    int x, y, width, height;
  } outside[] = {{-1, 0, 5, 5}, {0, -1, 5, 5}, {16, 0, 5, 5}, {0, 6, 5, 5}, {0, 0, -1, 5}, {INT_MAX, 0, 2, 2}};
  for (const auto& r : outside) {
    MEMIMG view{};
    MakeMemImgView(&view, &owner, r.x, r.y, r.width, r.height);
    EXPECT_EQ(IsMemImgInUse(&view), 0);
  }
  EXPECT_EQ(owner.data->refCount, 1);
  MEMIMG whole{};
  MakeMemImgView(&whole, &owner, 0, 0, 20, 10);  // the whole source is inside
  EXPECT_EQ(IsMemImgInUse(&whole), 1);
  ReleaseMemImg(&whole);
  ReleaseMemImg(&owner);
}

TEST(MemImgReleaseTest, ReleaseFreesEveryBlockAndIgnoresFreeHeaders) {
  const int blocksBefore = GetTrackedBlockCount();
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, 9, 9, -1, 0, kMemImgRgb32, 1, 0, 1, nullptr), 0);
  MEMIMG alpha{};
  ASSERT_EQ(CreateMemImg(&alpha, 9, 9, -1, 0, kMemImgRgb565, 0, 1, 1, nullptr), 0);
  ReleaseMemImg(&image);
  ReleaseMemImg(&alpha);
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
  ReleaseMemImg(&image);  // a second release of a free header does nothing
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
  ASSERT_EQ(CreateMemImg(&image, 2, 2, -1, 0, kMemImgRgb32, 0, 0, 0, nullptr), 0);  // the header is free again
  ReleaseMemImg(&image);
}

}  // namespace
