// Graphs across a lost device: textures made anew, pixels back from each
// graph's file (one read per file) or from the picture a graph made from a
// base image keeps; and the same on the software screen when the device
// does not come back.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "bmp_picture.h"
#include "core/files/file_access_table.h"
#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/graphics_start.h"
#include "graphics/graphics_state.h"
#include "graphics_fixture.h"
#include "support/temp_dir.h"

namespace {

using wqtest::Bmp24;

// Opens that found their file, by the name asked for.
std::map<std::string, int> g_opens;
FileHandle (*g_realOpen)(const char*, int, int, int);

FileHandle CountingOpen(const char* path, int cache, int reserved, int asynchronous) {
  const FileHandle file = g_realOpen(path, cache, reserved, asynchronous);
  if (file != 0) ++g_opens[path];
  return file;
}

std::uint32_t CellPicture(int x, int y) { return 0x100000u | static_cast<std::uint32_t>(y / 32 * 16 + x / 32); }
std::uint32_t Stripes(int, int y) { return y < 5 ? 0x4060A0u : 0xA06040u; }

class GraphRestoreTest : public wqtest::GraphicsTest {
 protected:
  std::string PathOf(const std::string& name) const { return files_.WindowsPath() + "\\" + name; }

  // The graphs of the tests: a picture cut into 16, a whole picture, one
  // made from a base image, one with no pixels source at all.
  void LoadGraphs() {
    files_.WriteFile("cells.bmp", Bmp24(128, 128, CellPicture));
    files_.WriteFile("pic.bmp", Bmp24(20, 10, Stripes));
    ASSERT_EQ(LoadDivGraph(PathOf("cells.bmp").c_str(), 16, 4, 4, 32, 32, cells_, 0), 0);
    picture_ = LoadGraph(PathOf("pic.bmp").c_str(), 0);
    ASSERT_GE(picture_, 0);
    BaseImage image{};
    ASSERT_EQ(CreateXrgbBaseImage(6, 6, &image), 0);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) SetBaseImagePixel(&image, x, y, 10 * x + 5, 10 * y + 5, 99, 255);
    kept_ = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
    ReleaseBaseImage(&image);
    ASSERT_GE(kept_, 0);
    empty_ = AllocGraphHandle();
    ASSERT_EQ(SetupGraphRecord(-1, empty_, 8, 8, 0, 0), 0);
  }

  void CountOpens() {
    g_opens.clear();
    FileAccessTable counting = *GetFileAccessTable();
    g_realOpen = counting.open;
    counting.open = CountingOpen;
    SetupFileAccessTable(&counting);
  }

  // The device loses itself under the program; the next frame rebuilds.
  void LoseDevice() {
    WqControlLoseD3d9Devices();
    ASSERT_EQ(PresentScreen(), 0);
    ASSERT_EQ(PresentScreen(), 0);
    ASSERT_EQ(Graphics().deviceLost, 0);
  }

  // 0x00RRGGBB of pixel (x, y) of the graph's image, on either renderer.
  std::uint32_t ImagePixel(int graph, int x, int y) {
    const GraphImageInfo& info = *FindGraphRecord(graph)->image;
    std::uint32_t value = 0;
    if (!info.inTextures) {
      std::memcpy(&value, info.image.pixels + y * info.image.data->pitch + x * 4, 4);
      return value & 0xFFFFFF;
    }
    D_D3DLOCKED_RECT locked{};
    EXPECT_EQ(info.entries[0].texture->LockRect(0, &locked, nullptr, D_D3DLOCK_READONLY), 0);
    std::memcpy(&value, static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch + x * 4, 4);
    info.entries[0].texture->UnlockRect(0);
    return value & 0xFFFFFF;
  }

  void ExpectPixelsBack() {
    for (int cell = 0; cell < 16; ++cell) {
      const GraphRecord* record = FindGraphRecord(cells_[cell]);
      ASSERT_NE(record, nullptr);
      EXPECT_EQ(ImagePixel(cells_[cell], record->imageX + 31, record->imageY + 31), CellPicture(record->fileX, record->fileY))
          << "cell " << cell;
    }
    EXPECT_EQ(ImagePixel(picture_, 19, 0), 0x4060A0u);
    EXPECT_EQ(ImagePixel(picture_, 0, 9), 0xA06040u);
    EXPECT_EQ(ImagePixel(kept_, 5, 2), 0x371963u);
  }

  wqtest::TempDir files_;
  int cells_[16] = {};
  int picture_ = -1, kept_ = -1, empty_ = -1;
};

TEST_F(GraphRestoreTest, ALostDeviceGetsEveryGraphBackReadingEachFileOnce) {
  StartInGameMode();
  LoadGraphs();
  ExpectPixelsBack();
  const D_IDirect3DTexture9* before = FindGraphRecord(picture_)->image->entries[0].texture;
  CountOpens();
  LoseDevice();
  ASSERT_EQ(IsDirect3DRendererInUse(), 1);
  EXPECT_NE(FindGraphRecord(picture_)->image->entries[0].texture, nullptr);
  EXPECT_NE(FindGraphRecord(picture_)->image->entries[0].texture, before);
  ExpectPixelsBack();
  EXPECT_EQ(g_opens[PathOf("cells.bmp")], 1);
  EXPECT_EQ(g_opens[PathOf("pic.bmp")], 1);
  EXPECT_EQ(ImagePixel(empty_, 3, 3), 0u);  // no source: left cleared
  EXPECT_NE(ReadLog().find("グラフィックを復帰します"), std::string::npos);
}

TEST_F(GraphRestoreTest, AFileThatIsGoneIsLoggedAndItsGraphSkipped) {
  StartInGameMode();
  LoadGraphs();
  std::filesystem::remove(files_.path() / "pic.bmp");
  LoseDevice();
  EXPECT_NE(ReadLog().find("ファイル:" + PathOf("pic.bmp") + " がロードできませんでした"), std::string::npos);
  EXPECT_EQ(ImagePixel(picture_, 19, 0), 0u);
  EXPECT_EQ(ImagePixel(cells_[15], 127, 127), CellPicture(127, 127));
}

TEST_F(GraphRestoreTest, WithoutADeviceTheGraphsComeBackInMemory) {
  StartInGameMode();
  LoadGraphs();
  WqControlSetD3d9CallFails("CreateDevice", true);
  LoseDevice();
  ASSERT_EQ(IsDirect3DRendererInUse(), 0);
  for (int graph : {cells_[0], picture_, kept_, empty_}) {
    const GraphRecord* record = FindGraphRecord(graph);
    EXPECT_EQ(record->image->inTextures, 0);
    EXPECT_EQ(record->pieceCount, 0);
    EXPECT_EQ(record->view.width, record->width);
  }
  ExpectPixelsBack();
  EXPECT_EQ(SelectDrawTarget(picture_), 0);  // every software graph can be drawn to
}

// Mirrored loads: the whole picture mirrored, and cells taken from the
// right so that each shows its own cell mirrored; both come back mirrored.
TEST_F(GraphRestoreTest, MirroredLoadsComeBackMirrored) {
  StartInGameMode();
  files_.WriteFile("cells.bmp", Bmp24(128, 128, CellPicture));
  const int whole = LoadGraphOrMovie(PathOf("cells.bmp").c_str(), 0, 1, 0);
  ASSERT_GE(whole, 0);
  int cells[16];
  ASSERT_EQ(LoadDivGraphCore(PathOf("cells.bmp").c_str(), 16, 4, 4, 32, 32, cells, 0, 1), 0);
  const auto expect = [&] {
    EXPECT_EQ(ImagePixel(whole, 0, 0), CellPicture(127, 0));
    EXPECT_EQ(ImagePixel(whole, 127, 40), CellPicture(0, 40));
    for (int cell = 0; cell < 16; ++cell) {
      const GraphRecord* record = FindGraphRecord(cells[cell]);
      // Cell n's left column is the picture's cell n's right column.
      EXPECT_EQ(ImagePixel(cells[cell], record->imageX, record->imageY), CellPicture(cell % 4 * 32 + 31, cell / 4 * 32))
          << "cell " << cell;
    }
  };
  expect();
  CountOpens();
  LoseDevice();
  expect();
  EXPECT_EQ(g_opens[PathOf("cells.bmp")], 1) << "both mirrored loads share one read";
}

// A picture put into a graph replaces what the graph showed for good: after
// a rebuild the graph shows it again, whether the graph came from a file,
// was cut from one, or was made from a base image.
TEST_F(GraphRestoreTest, RecreatedPicturesComeBackInsteadOfTheOldOnes) {
  StartInGameMode();
  LoadGraphs();
  BaseImage small{}, cell{}, wide{};
  ASSERT_EQ(CreateXrgbBaseImage(20, 10, &small), 0);
  ASSERT_EQ(CreateXrgbBaseImage(32, 32, &cell), 0);
  ASSERT_EQ(CreateXrgbBaseImage(6, 6, &wide), 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) SetBaseImagePixel(&small, x, y, 200, x, y, 255);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) SetBaseImagePixel(&cell, x, y, 1, 2, 3, 255);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) SetBaseImagePixel(&wide, x, y, 7, 8, 9, 255);
  // Sizes that differ are refused and change nothing.
  EXPECT_EQ(ReCreateGraphFromBaseImage(&cell, picture_), -1);
  EXPECT_EQ(ReCreateGraphFromGraphImage(&small, &cell, picture_, 0, 0, 0), -1);
  EXPECT_EQ(ReCreateGraphFromBaseImage(&small, -1), -1);
  EXPECT_EQ(ImagePixel(picture_, 19, 0), 0x4060A0u);

  ASSERT_EQ(ReCreateGraphFromBaseImage(&small, picture_), 0);
  EXPECT_EQ(FindGraphRecord(picture_)->fileName, nullptr);
  ASSERT_EQ(ReCreateGraphFromGraphImage(&cell, nullptr, cells_[5], 0, 0, 0), 0);
  // Mirrored here and put back: the caller's image is unchanged afterwards.
  SetBaseImagePixel(&wide, 0, 0, 90, 91, 92, 255);
  ASSERT_EQ(ReCreateGraphFromGraphImage(&wide, nullptr, kept_, 0, 1, 1), 0);
  int r = 0, g = 0, b = 0;
  GetBaseImagePixel(&wide, 0, 0, &r, &g, &b, nullptr);
  EXPECT_EQ(r, 90);
  const auto expect = [&] {
    EXPECT_EQ(ImagePixel(picture_, 19, 3), 0xC81303u);
    const GraphRecord* five = FindGraphRecord(cells_[5]);
    EXPECT_EQ(ImagePixel(cells_[5], five->imageX + 31, five->imageY), 0x010203u);
    const GraphRecord* six = FindGraphRecord(cells_[6]);
    EXPECT_EQ(ImagePixel(cells_[6], six->imageX, six->imageY), CellPicture(64, 32)) << "its neighbour keeps the file";
    EXPECT_EQ(ImagePixel(kept_, 5, 0), 0x5A5B5Cu);
    EXPECT_EQ(ImagePixel(kept_, 0, 0), 0x070809u);
  };
  expect();
  LoseDevice();
  expect();
  ReleaseBaseImage(&small);
  ReleaseBaseImage(&cell);
  ReleaseBaseImage(&wide);
}

}  // namespace
