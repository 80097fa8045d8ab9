// The loading front: reader order, loads from files and memory, the alpha
// companion and its name, mirroring, and the hand-over as a DIB.
#include <gtest/gtest.h>

#include "core/base/charset_state.h"
#include "core/base/tracked_allocator.h"
#include "core/files/file_access_table.h"
#include "image/image_load.h"
#include "image_fixtures.h"
#include "support/temp_dir.h"

namespace {

using wqtest::ImageFixture;

class ImageLoadTest : public testing::Test {
 protected:
  void SetUp() override {
    SetupFileAccessTable(nullptr);
    SetCharSetClass(1);
  }
  void TearDown() override { EXPECT_EQ(GetTrackedBlockCount(), 0); }

  // The file's Windows path after writing it into the folder.
  std::string Place(const std::string& name, const std::string& bytes) {
    dir_.WriteFile(name, bytes);
    return dir_.WindowsPath() + "\\" + name;
  }

  wqtest::TempDir dir_;
};

TEST_F(ImageLoadTest, APngNamedLikeABitmapIsStillReadFromItsFile) {
  const ImageFixture& png = wqtest::ImageFixtureNamed("png_rgba8");
  BaseImage image{};
  ASSERT_EQ(LoadBaseImage(Place("picture.bmp", png.bytes).c_str(), nullptr, 0, 0, &image, 0), 0);
  wqtest::ExpectImagePixels(&image, png);
  ReleaseBaseImage(&image);
  EXPECT_EQ(LoadBaseImage((dir_.WindowsPath() + "\\missing.png").c_str(), nullptr, 0, 0, &image, 0), -1);
}

TEST_F(ImageLoadTest, BytesNoReaderAcceptsGiveMinusOneAndAnEmptyImage) {
  std::string text = "just some text, no picture at all";
  BaseImage image{};
  image.width = 99;
  EXPECT_EQ(LoadBaseImage(nullptr, text.data(), static_cast<int>(text.size()), 1, &image, 0), -1);
  EXPECT_EQ(image.width, 99) << "the caller's record is left alone";
  EXPECT_EQ(LoadBaseImage(nullptr, nullptr, 0, 1, &image, 0), -1);
}

// Readers cannot be taken out again, so this one accepts only while its
// test runs: the other tests of a whole-binary run stay unaffected.
int g_userReaderCalls = 0;
bool g_userReaderAccepts = false;
int AcceptEverything(StreamSource*, BaseImage* image) {
  ++g_userReaderCalls;
  if (!g_userReaderAccepts) return -1;
  CreateArgbBaseImage(1, 1, image);
  return 0;
}

TEST_F(ImageLoadTest, ReadersAddedByTheProgramComeFirst) {
  g_userReaderAccepts = true;
  ASSERT_EQ(AddUserImageReader(AcceptEverything), 0);
  const ImageFixture& png = wqtest::ImageFixtureNamed("png_rgb8");
  BaseImage image{};
  ASSERT_EQ(LoadBaseImage(nullptr, png.bytes.data(), static_cast<int>(png.bytes.size()), 1, &image, 0), 0);
  EXPECT_EQ(g_userReaderCalls, 1);
  EXPECT_EQ(image.width, 1);
  ReleaseBaseImage(&image);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(AddUserImageReader(AcceptEverything), 0);
  EXPECT_EQ(AddUserImageReader(AcceptEverything), -1) << "ten slots";
  g_userReaderAccepts = false;
}

TEST(AlphaFileNameTest, UnderscoreABeforeTheLastDot) {
  SetCharSetClass(1);
  struct Case {
    const char* name;
    const char* alpha;
  } cases[] = {
      {"Pict/boss.png", "Pict/boss_a.png"},
      {"Pict/boss", "Pict/boss_a"},
      {"a.b/c", "a_a.b/c"},
      {"", "_a"},
      {"x.tar.gz", "x.tar_a.gz"},
      {"\x83\x5C\x83\x7B.png", "\x83\x5C\x83\x7B_a.png"},  // two double-byte characters
  };
  for (const Case& c : cases) {
    char out[260] = {};
    EXPECT_EQ(MakeAlphaFileName(out, c.name), 0);
    EXPECT_STREQ(out, c.alpha) << c.name;
  }
  char out[260] = {'x'};
  EXPECT_EQ(MakeAlphaFileName(out, std::string(258, 'n').c_str()), -1) << "no room for \"_a\"";
  EXPECT_STREQ(out, "");
  EXPECT_EQ(MakeAlphaFileName(out, std::string(257, 'n').c_str()), 0);
}

TEST_F(ImageLoadTest, TheAlphaCompanionLoadsBesideTheImage) {
  const ImageFixture& colour = wqtest::ImageFixtureNamed("bmp24_bottomup");
  const ImageFixture& alpha = wqtest::ImageFixtureNamed("png_grey8");
  std::string path = Place("boss.bmp", colour.bytes);
  BaseImage image{}, alphaImage{};
  EXPECT_EQ(LoadImageWithAlpha(path.c_str(), nullptr, 0, 0, nullptr, 0, 0, &image, &alphaImage, 0), 1)
      << "no companion yet";
  ReleaseBaseImage(&image);
  Place("boss_a.bmp", alpha.bytes);
  ASSERT_EQ(LoadImageWithAlpha(path.c_str(), nullptr, 0, 0, nullptr, 0, 0, &image, &alphaImage, 0), 0);
  wqtest::ExpectImagePixels(&image, colour);
  wqtest::ExpectImagePixels(&alphaImage, alpha);
  ReleaseBaseImage(&image);
  ReleaseBaseImage(&alphaImage);

  // From memory (mode 1), a mode that loads no alpha, and a colour image
  // that fails.
  ASSERT_EQ(LoadImageWithAlpha(nullptr, colour.bytes.data(), static_cast<int>(colour.bytes.size()), 1,
                               alpha.bytes.data(), static_cast<int>(alpha.bytes.size()), 1, &image, &alphaImage, 0),
            0);
  wqtest::ExpectImagePixels(&alphaImage, alpha);
  ReleaseBaseImage(&image);
  ReleaseBaseImage(&alphaImage);
  ASSERT_EQ(LoadImageWithAlpha(nullptr, colour.bytes.data(), static_cast<int>(colour.bytes.size()), 1, nullptr, 0, 0,
                               &image, &alphaImage, 0),
            1)
      << "a memory load has no file name for a companion";
  ReleaseBaseImage(&image);
  ASSERT_EQ(LoadImageWithAlpha(path.c_str(), nullptr, 0, 0, nullptr, 0, 2, &image, &alphaImage, 0), 1);
  ReleaseBaseImage(&image);
  EXPECT_EQ(LoadImageWithAlpha((dir_.WindowsPath() + "\\none.bmp").c_str(), nullptr, 0, 0, nullptr, 0, 0, &image,
                               &alphaImage, 0),
            -1);
}

TEST_F(ImageLoadTest, TheMirrorFlagReversesRowsAndDecompressesFirst) {
  const ImageFixture& fixture = wqtest::ImageFixtureNamed("tga2_24_20");
  BaseImage image{};
  ASSERT_EQ(LoadBaseImage(nullptr, fixture.bytes.data(), static_cast<int>(fixture.bytes.size()), 1, &image, 1), 0);
  int r = 0, g = 0, b = 0;
  GetBaseImagePixel(&image, fixture.width - 1, 1, &r, &g, &b, nullptr);
  const std::uint8_t* want = &fixture.rgba[(1 * fixture.width + 0) * 4];
  EXPECT_EQ(r * 65536 + g * 256 + b, want[0] * 65536 + want[1] * 256 + want[2]);
  ReleaseBaseImage(&image);

  // A DXT1 image (one white block, one red) comes out as mirrored A8R8G8B8.
  wqtest::ByteWriter dds;
  dds.Text("DDS ").U32(124).U32(0x1007).U32(4).U32(8).U32(0).U32(0).U32(0).Fill(44, 0);
  dds.U32(32).U32(0x4).Text("DXT1").Fill(20, 0).U32(0x1000).Fill(16, 0);
  dds.U16(0xFFFF).U16(0xFFFF).U32(0).U16(0xF800).U16(0xF800).U32(0);
  ASSERT_EQ(LoadBaseImage(nullptr, dds.bytes().data(), static_cast<int>(dds.bytes().size()), 1, &image, 1), 0);
  EXPECT_EQ(image.format.compressedKind, 0u);
  EXPECT_EQ(image.format.bits, 32);
  EXPECT_EQ(static_cast<std::uint32_t*>(image.pixels)[0], 0xFFFF0000u);
  EXPECT_EQ(static_cast<std::uint32_t*>(image.pixels)[7], 0xFFFFFFFFu);
  ReleaseBaseImage(&image);
}

TEST_F(ImageLoadTest, ImagesAreHandedOverAsTopDownDibs) {
  const ImageFixture& palettised = wqtest::ImageFixtureNamed("bmp8_topdown");  // width 5, pitch 8
  BITMAPINFO* info = nullptr;
  void* bits = nullptr;
  ASSERT_EQ(LoadImageCore(nullptr, palettised.bytes.data(), static_cast<int>(palettised.bytes.size()), 1, 1, 0, nullptr,
                          &info, &bits),
            0);
  EXPECT_EQ(info->bmiHeader.biBitCount, 8);
  EXPECT_EQ(info->bmiHeader.biHeight, -3);
  EXPECT_EQ(static_cast<std::uint8_t*>(bits)[8 + 1], (1 * 3 + 1 * 5) % 256);
  TrackedFree(bits);
  TrackedFree(info);

  const ImageFixture& argb = wqtest::ImageFixtureNamed("png_rgba8");  // width 7
  ASSERT_EQ(
      LoadImageCore(nullptr, argb.bytes.data(), static_cast<int>(argb.bytes.size()), 1, 1, 0, nullptr, &info, &bits),
      0);
  EXPECT_EQ(info->bmiHeader.biBitCount, 24);
  const auto* row1 = static_cast<std::uint8_t*>(bits) + 24;  // rows of 21 bytes rounded to 24
  EXPECT_EQ(row1[2], argb.rgba[7 * 4 + 0]) << "red of pixel (0, 1)";
  EXPECT_EQ(row1[0], argb.rgba[7 * 4 + 2]);
  TrackedFree(bits);
  TrackedFree(info);
}

TEST_F(ImageLoadTest, A24BitImageWithAWidePitchIsCopiedRowByRowIntoTheDib) {
  BaseImage image{};
  ColorFormat rgb{};
  MakeColorFormatRgb24(&rgb);
  image.format = rgb;
  image.width = 1;
  image.height = 2;
  image.pitch = 64;
  image.pixels = TrackedAllocZero(128, __FILE__, __LINE__);
  static_cast<std::uint8_t*>(image.pixels)[64] = 0x42;
  BITMAPINFO info{};
  void* bits = nullptr;
  ASSERT_EQ(BaseImageToDib(&image, &info, &bits, 0, 0), 1);
  EXPECT_EQ(static_cast<std::uint8_t*>(bits)[4], 0x42) << "row 1 starts 4 bytes in";
  TrackedFree(bits);
  ReleaseBaseImage(&image);
}

}  // namespace
