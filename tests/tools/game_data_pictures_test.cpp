// The generated pictures: every file the game loads, at the size and with
// the alpha its use needs; the side frame open over the playfield, the
// scrolling background seamless, the explosion strip in separate cells.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game_data_files.h"

namespace {

using gamedata::DataFile;
using gamedata::kPictures;
using gamedata::Utf8;

struct Picture {
  int width = 0, height = 0;
  bool fileHasAlpha = false;
  std::vector<std::uint8_t> rgba;  // always decoded to RGBA
  int Alpha(int x, int y) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3]; }
  int Channel(int x, int y, int c) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + c]; }
};

Picture Load(const std::filesystem::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Picture picture;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << path << ": " << image.message;
    return picture;
  }
  picture.fileHasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_RGBA;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    ADD_FAILURE() << path << ": " << image.message;
  }
  return picture;
}

TEST(GameDataPictures, EveryPictureHasItsSizeAndAlpha) {
  for (const auto& spec : kPictures) {
    SCOPED_TRACE(Utf8(spec.path));
    const Picture picture = Load(DataFile(spec.path));
    EXPECT_EQ(picture.width, spec.width);
    EXPECT_EQ(picture.height, spec.height);
    EXPECT_EQ(picture.fileHasAlpha, spec.alpha == gamedata::kWithAlpha);
  }
}

// Sprites are drawn with transparency over the scene: their corners are
// clear and something of them is solid.
TEST(GameDataPictures, SpritesAreClearAtTheCornersAndSolidSomewhere) {
  for (const auto& spec : kPictures) {
    const std::string name = Utf8(spec.path);
    if (spec.alpha != gamedata::kWithAlpha || name.find("sideflame") != std::string::npos ||
        name.find("explosion") != std::string::npos || name.find("HP.png") != std::string::npos) {
      continue;  // the frame and strip have their own tests; pips fill their box
    }
    SCOPED_TRACE(name);
    const Picture picture = Load(DataFile(spec.path));
    const int w = picture.width - 1, h = picture.height - 1;
    EXPECT_LT(picture.Alpha(0, 0) + picture.Alpha(w, 0) + picture.Alpha(0, h) + picture.Alpha(w, h), 4 * 40);
    int solid = 0;
    for (int y = 0; y <= h; ++y) {
      for (int x = 0; x <= w; ++x) solid += picture.Alpha(x, y) == 255;
    }
    EXPECT_GT(solid, (w + 1) * (h + 1) / 20);
  }
}

TEST(GameDataPictures, SideFrameIsOpenOverThePlayfieldAndOpaqueAroundIt) {
  const Picture frame = Load(DataFile(u8"Pict/Backgraund/sideflame.png"));
  ASSERT_EQ(frame.width, 882);
  int openOutside = 0, coveredInside = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const bool playfield = x >= 25 && x < 857 && y >= 176 && y < 800;
      if (playfield) {
        coveredInside += frame.Alpha(x, y) != 0;
      } else {
        openOutside += frame.Alpha(x, y) != 255;
      }
    }
  }
  EXPECT_EQ(coveredInside, 0);
  EXPECT_EQ(openOutside, 0);
}

// The background is drawn 624 pixels apart, one copy above the other: its
// last row must run on into its first as smoothly as any two rows do.
TEST(GameDataPictures, ScrollingBackgroundTilesTopToBottom) {
  const Picture field = Load(DataFile(u8"Pict/Backgraund/backgraund_new.png"));
  ASSERT_EQ(field.height, 624);
  auto rowDifference = [&](int a, int b) {
    long sum = 0;
    for (int x = 0; x < field.width; ++x) {
      for (int c = 0; c < 3; ++c) sum += std::abs(field.Channel(x, a, c) - field.Channel(x, b, c));
    }
    return static_cast<double>(sum) / field.width;
  };
  double neighbours = 0;
  for (int y = 1; y < field.height; ++y) neighbours += rowDifference(y - 1, y);
  neighbours /= field.height - 1;
  EXPECT_LT(rowDifference(field.height - 1, 0), neighbours * 2 + 1);
  EXPECT_GT(rowDifference(0, field.height / 2), rowDifference(field.height - 1, 0));
}

TEST(GameDataPictures, ExplosionCellsStandApartAndChangeFrameToFrame) {
  const Picture strip = Load(DataFile(u8"Pict/Effect/explosion1_1a.png"));
  ASSERT_EQ(strip.width, 16 * 192);
  std::vector<long> coverage(16, 0);
  for (int cell = 0; cell < 16; ++cell) {
    SCOPED_TRACE(cell);
    for (int y = 0; y < 192; ++y) {
      // Nothing touches a cell's edges, so no frame shows a piece of its
      // neighbour when drawn enlarged.
      EXPECT_EQ(strip.Alpha(cell * 192, y), 0);
      EXPECT_EQ(strip.Alpha(cell * 192 + 191, y), 0);
      for (int x = 0; x < 192; ++x) coverage[cell] += strip.Alpha(cell * 192 + x, y);
    }
    EXPECT_GT(coverage[cell], 0);
  }
  // It flares up and dies away: the last frame is fainter than the middle.
  EXPECT_LT(coverage[15], coverage[7]);
  EXPECT_NE(coverage[0], coverage[1]);
}

TEST(GameDataPictures, NoPictureHasAnAlphaCompanionBesideIt) {
  // The loader takes "name_a.ext" beside "name.ext" as its alpha: none of
  // our pictures may be taken so by accident.
  for (const auto& spec : kPictures) {
    std::filesystem::path path = DataFile(spec.path);
    path.replace_filename(path.stem().string() + "_a" + path.extension().string());
    EXPECT_FALSE(std::filesystem::exists(path)) << path;
  }
}

TEST(GameDataPictures, WhiteFlashIsWhite) {
  const Picture flash = Load(DataFile(u8"Pict/Effect/white.png"));
  for (std::size_t i = 0; i < flash.rgba.size(); ++i) ASSERT_EQ(flash.rgba[i], 255) << i;
}

}  // namespace
