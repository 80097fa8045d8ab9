// Every layout of every format, made by independent encoders, decodes to
// the encoder's pixels with the expected pixel size and row pitch, through
// its own reader and through the loading front alike.
#include <gtest/gtest.h>

#include "core/base/tracked_allocator.h"
#include "image/image_load.h"
#include "image_fixtures.h"

namespace {

using wqtest::ImageFixture;

struct Family {
  const char* extension;
  ImageReader reader;
};
void PrintTo(const Family& family, std::ostream* out) { *out << family.extension; }

class ReaderLayoutsTest : public testing::TestWithParam<Family> {};

TEST_P(ReaderLayoutsTest, EveryLayoutDecodesToTheEncodersPixels) {
  std::vector<ImageFixture> fixtures = wqtest::ImageFixturesOf(GetParam().extension);
  ASSERT_FALSE(fixtures.empty());
  for (const ImageFixture& fixture : fixtures) {
    SCOPED_TRACE(fixture.name);
    BaseImage image{};
    ASSERT_EQ(wqtest::ReadImageBytes(GetParam().reader, fixture.bytes, &image), 0);
    EXPECT_EQ(image.format.bytesPerPixel, fixture.bytesPerPixel);
    EXPECT_EQ(image.pitch, fixture.pitch);
    EXPECT_EQ(image.format.compressedKind, 0u);
    wqtest::ExpectImagePixels(&image, fixture);
    ReleaseBaseImage(&image);
    EXPECT_EQ(GetTrackedBlockCount(), 0);
  }
}

// The front tries the readers in turn; each file lands with its own.
TEST_P(ReaderLayoutsTest, TheLoadingFrontFindsTheReaderFromTheBytes) {
  for (const ImageFixture& fixture : wqtest::ImageFixturesOf(GetParam().extension)) {
    SCOPED_TRACE(fixture.name);
    BaseImage image{};
    ASSERT_EQ(LoadBaseImage(nullptr, fixture.bytes.data(), static_cast<int>(fixture.bytes.size()), 1, &image, 0), 0);
    wqtest::ExpectImagePixels(&image, fixture);
    ReleaseBaseImage(&image);
  }
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ReaderLayoutsTest,
                         testing::Values(Family{"bmp", ReadBmpImage}, Family{"tga", ReadTgaImage},
                                         Family{"png", ReadPngImage}, Family{"jpg", ReadJpegImage}),
                         [](const testing::TestParamInfo<Family>& info) { return std::string(info.param.extension); });

}  // namespace
