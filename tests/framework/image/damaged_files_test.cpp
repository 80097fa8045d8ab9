// Damaged and hostile files: every fixture cut short or with bytes changed
// fails cleanly (or decodes what it holds) through the loading front,
// leaving no allocation behind; hand-made hostile BMP headers are refused.
#include <gtest/gtest.h>

#include <random>

#include "core/base/tracked_allocator.h"
#include "image/image_load.h"
#include "image_fixtures.h"

namespace {

using wqtest::ByteWriter;
using wqtest::ImageFixture;

int LoadFromMemory(const std::string& bytes, BaseImage* image) {
  return LoadBaseImage(nullptr, bytes.data(), static_cast<int>(bytes.size()), 1, image, 0);
}

// A decoded image must hold the pixels its size and pitch promise.
void ExpectUsableImage(BaseImage* image) {
  ASSERT_GT(image->width, 0);
  ASSERT_GT(image->height, 0);
  ASSERT_NE(image->pixels, nullptr);
  int r, g, b, a;
  EXPECT_EQ(GetBaseImagePixel(image, image->width - 1, image->height - 1, &r, &g, &b, &a), 0);
}

// Run-length and JPEG files may decode what they hold when cut at the end
// of their data; every other cut header or pixel block is refused.
bool MayDecodeWhenCut(const ImageFixture& fixture) {
  return fixture.extension == "jpg" || fixture.name.find("rle") != std::string::npos ||
         fixture.name.find("tga9") != std::string::npos || fixture.name.find("tga10") != std::string::npos;
}

TEST(DamagedFilesTest, EveryFixtureCutShortFailsCleanly) {
  for (const ImageFixture& fixture : wqtest::AllImageFixtures()) {
    for (std::size_t length = 0; length < fixture.bytes.size(); ++length) {
      SCOPED_TRACE(fixture.name + " cut to " + std::to_string(length));
      BaseImage image{};
      int result = LoadFromMemory(fixture.bytes.substr(0, length), &image);
      if (result == 0) {
        // A TGA with a footer still holds its pixels when the footer is cut.
        bool footerCut = fixture.name == "tga2_24_10" || fixture.name == "tga2_16_10" || fixture.name == "tga2_32_10";
        EXPECT_TRUE(MayDecodeWhenCut(fixture) || footerCut);
        ExpectUsableImage(&image);
        ReleaseBaseImage(&image);
      }
      ASSERT_EQ(GetTrackedBlockCount(), 0);
    }
  }
}

TEST(DamagedFilesTest, ChangedBytesNeverBreakTheReaders) {
  std::mt19937 random(2024);
  for (const ImageFixture& fixture : wqtest::AllImageFixtures()) {
    for (int round = 0; round < 60; ++round) {
      std::string bytes = fixture.bytes;
      int changes = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changes; ++i) {
        bytes[random() % bytes.size()] = static_cast<char>(random() % 4 == 0 ? 0xFF : random());
      }
      SCOPED_TRACE(fixture.name + " round " + std::to_string(round));
      BaseImage image{};
      if (LoadFromMemory(bytes, &image) == 0) {
        ExpectUsableImage(&image);
        ReleaseBaseImage(&image);
      }
      ASSERT_EQ(GetTrackedBlockCount(), 0);
    }
  }
}

// A BMP: file header, 40-byte info header, then the table and the data.
std::string Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression, const std::string& table,
                const std::string& data, std::uint32_t offset = 0, std::uint32_t headerSize = 40,
                std::uint32_t coloursUsed = 0) {
  if (offset == 0) offset = 14 + 40 + static_cast<std::uint32_t>(table.size());
  ByteWriter w;
  w.Text("BM").U32(0).U32(0).U32(offset);
  w.U32(headerSize).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(1).U16(bits);
  w.U32(compression).U32(0).U32(0).U32(0).U32(coloursUsed).U32(0);
  return w.bytes() + table + data;
}

TEST(DamagedFilesTest, HostileBmpHeadersAreRefused) {
  std::string grey2 = std::string("\0\0\0\0\xFF\xFF\xFF\0", 8);
  std::string grey256;
  for (int i = 0; i < 256; ++i)
    grey256 += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), '\0'};
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"not BM", "BX" + Bmp(1, 1, 24, 0, "", "abcd").substr(2)},
      {"header cut short", Bmp(1, 1, 24, 0, "", "").substr(0, 30)},
      {"colour table cut short", Bmp(4, 4, 8, 0, grey256.substr(0, 100), "")},
      {"rows cut short", Bmp(4, 4, 24, 0, "", std::string(47, '\0'))},
      {"data offset past the end", Bmp(1, 1, 24, 0, "", "abcd", 5000)},
      {"huge sides", Bmp(0x7FFFFFFF, 0x7FFFFFFF, 32, 0, "", "abcd")},
      {"most negative height", Bmp(1, INT32_MIN, 24, 0, "", "abcd")},
      {"zero width", Bmp(0, 4, 24, 0, "", std::string(64, '\0'))},
      {"bit count 7", Bmp(4, 1, 7, 0, "", std::string(64, '\0'))},
      {"header size past the file", Bmp(1, 1, 24, 0, "", "abcd", 0, 100000)},
      {"header size below 40", Bmp(1, 1, 24, 0, "", "abcd", 0, 12)},
      {"unknown compression", Bmp(2, 2, 24, 7, "", std::string(16, '\0'))},
      {"bit fields without masks", Bmp(2, 2, 16, 3, "", "").substr(0, 58)},
  };
  for (const Case& c : cases) {
    BaseImage image{};
    EXPECT_EQ(wqtest::ReadImageBytes(ReadBmpImage, c.bytes, &image), -1) << c.name;
    EXPECT_EQ(GetTrackedBlockCount(), 0) << c.name;
  }
}

// Runs that pass the row end, deltas out of the image and data without an
// end mark stop at the image's edges.
TEST(DamagedFilesTest, RunLengthDataStaysInsideTheImage) {
  std::string grey;
  for (int i = 0; i < 256; ++i)
    grey += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), '\0'};
  const std::string streams[] = {
      std::string("\xFF\x07\xFF\x07\xFF\x07", 6),          // runs far past the row ends, no end mark
      std::string("\x00\x02\xFF\xFF\x02\x09", 6),          // delta far outside, then a run
      std::string("\x00\xFF\x01\x02", 4),                  // absolute run of 255 cut short
      std::string("\x01\x05\x00\x02\x04\x00\x02\x08", 8),  // three pixels then a delta (2, 1)... cut short
  };
  for (const std::string& stream : streams) {
    BaseImage image{};
    ASSERT_EQ(wqtest::ReadImageBytes(ReadBmpImage, Bmp(3, 2, 8, 1, grey, stream), &image), 0);
    ExpectUsableImage(&image);
    ReleaseBaseImage(&image);
  }
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(DamagedFilesTest, AnRle8DeltaMovesRightAndDownFromTheCurrentPosition) {
  std::string grey;
  for (int i = 0; i < 256; ++i)
    grey += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), '\0'};
  // Top-down 8 x 2: three 7s, delta (2, 1), one 9, end of bitmap.
  std::string stream("\x03\x07\x00\x02\x02\x01\x01\x09\x00\x01", 10);
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadBmpImage, Bmp(8, -2, 8, 1, grey, stream), &image), 0);
  const auto* pixels = static_cast<const std::uint8_t*>(image.pixels);
  EXPECT_EQ(pixels[image.pitch + 5], 9) << "column 5 of the next row";
  EXPECT_EQ(pixels[image.pitch + 4], 0);
  EXPECT_EQ(pixels[2], 7);
  ReleaseBaseImage(&image);
}

TEST(DamagedFilesTest, ACorruptPngOrJpegFreesWhatTheLibraryAndTheReaderHeld) {
  for (const char* name : {"png_rgba8_interlaced", "png_palette4_trns", "jpeg_progressive"}) {
    std::string bytes = wqtest::ImageFixtureNamed(name).bytes;
    // Damage the compressed data past the headers.
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 12 && i < bytes.size(); ++i) bytes[i] ^= 0x5A;
    BaseImage image{};
    if (LoadFromMemory(bytes, &image) == 0) ReleaseBaseImage(&image);
    EXPECT_EQ(GetTrackedBlockCount(), 0) << name;
  }
}

// (A JPEG cut inside its coded data decodes as the library's own decoder
// does; that is one of the fixtures.)
TEST(DamagedFilesTest, AnEmptyStreamIsNoJpeg) {
  BaseImage image{};
  EXPECT_EQ(wqtest::ReadImageBytes(ReadJpegImage, "", &image), -1);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

}  // namespace
