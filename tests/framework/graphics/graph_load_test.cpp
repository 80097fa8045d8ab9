// Graphs loaded from image files: the alpha of pictures (channel, companion
// file, colour key), the kept file name, and missing or unreadable files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <string>

#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "bmp_picture.h"
#include "graphics_fixture.h"
#include "support/temp_dir.h"

namespace {

using wqtest::Bmp24;

// Black in the left column (the key colour), a fixed colour elsewhere.
std::uint32_t Picture(int x, int) { return x == 0 ? 0 : 0x3080C0; }

class GraphLoadTest : public wqtest::GraphicsTest {
 protected:
  std::string PathOf(const std::string& name) const { return files_.WindowsPath() + "\\" + name; }
  std::uint32_t DeviceTexel(int graph, int x, int y) {
    D_IDirect3DTexture9* texture = FindGraphRecord(graph)->image->entries[0].texture;
    D_D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), 0);
    std::uint32_t value = 0;
    std::memcpy(&value, static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch + x * 4, 4);
    texture->UnlockRect(0);
    return value;
  }
  wqtest::TempDir files_;
};

TEST_F(GraphLoadTest, KeyedPictureGetsAlphaTestAndKeepsItsFileName) {
  files_.WriteFile("pic.bmp", Bmp24(20, 10, Picture));
  StartInGameMode();
  const int graph = LoadGraph(PathOf("pic.bmp").c_str(), 0);
  ASSERT_GE(graph, 0);
  const GraphRecord* record = FindGraphRecord(graph);
  EXPECT_EQ(record->width, 20);
  EXPECT_EQ(record->image->formatIndex, 5);
  EXPECT_EQ(record->image->alphaTest, 1);
  EXPECT_EQ(DeviceTexel(graph, 0, 3) >> 24, 0u);
  EXPECT_EQ(DeviceTexel(graph, 5, 3), 0xFF3080C0u);
  ASSERT_NE(record->fileName, nullptr);
  EXPECT_EQ(std::string(record->fileName->path), PathOf("pic.bmp"));
}

TEST_F(GraphLoadTest, AlphaCompanionFileGivesTheGraphItsAlpha) {
  files_.WriteFile("pic.bmp", Bmp24(20, 10, Picture));
  files_.WriteFile("pic_a.bmp", Bmp24(20, 10, [](int x, int) { return x < 10 ? 0x404040u : 0xFFFFFFu; }));
  StartInGameMode();
  const int graph = LoadGraph(PathOf("pic.bmp").c_str(), 0);
  ASSERT_GE(graph, 0);
  EXPECT_EQ(FindGraphRecord(graph)->image->formatIndex, 3);
  EXPECT_EQ(DeviceTexel(graph, 5, 3), 0x403080C0u);
  EXPECT_EQ(DeviceTexel(graph, 15, 3), 0xFF3080C0u);
  EXPECT_EQ(DeviceTexel(graph, 0, 3) >> 24, 0x40u);  // the alpha file wins over the key colour
}

TEST_F(GraphLoadTest, SoftwareScreenGraphHoldsThePicture) {
  files_.WriteFile("pic.bmp", Bmp24(20, 10, Picture));
  ASSERT_EQ(SetUseHardwareRenderer(0), 0);
  StartInGameMode();
  const int graph = LoadGraph(PathOf("pic.bmp").c_str(), 0);
  ASSERT_GE(graph, 0);
  const MEMIMG& view = FindGraphRecord(graph)->view;
  std::uint32_t pixel = 0;
  std::memcpy(&pixel, view.pixels + 3 * view.data->pitch + 5 * 4, 4);
  EXPECT_EQ(pixel & 0xFFFFFF, 0x3080C0u);
}

TEST_F(GraphLoadTest, MissingAndUnreadableFilesAreLoggedFailures) {
  files_.WriteFile("notes.txt", "not a picture");
  EXPECT_EQ(LoadGraph(PathOf("pic.bmp").c_str(), 0), -1);  // before start-up
  StartInGameMode();
  EXPECT_EQ(LoadGraph(PathOf("missing.bmp").c_str(), 0), -1);
  EXPECT_EQ(LoadGraph(PathOf("notes.txt").c_str(), 0), -1);
  EXPECT_EQ(LoadGraph(nullptr, 0), -1);
  const std::string log = ReadLog();
  EXPECT_NE(log.find("グラフィックファイル " + PathOf("missing.bmp") + " がありません"), std::string::npos);
  EXPECT_NE(log.find("右記のグラフィックファイルのロードに失敗しました：" + PathOf("notes.txt")), std::string::npos);
}

}  // namespace

namespace {

// 128 x 128 in 32 x 32 cells; the cell in row r, column c has blue 16r + c.
std::uint32_t CellPicture(int x, int y) { return 0x100000u | static_cast<std::uint32_t>(y / 32 * 16 + x / 32); }

TEST_F(GraphLoadTest, DivisionCutsTheGridRowByRowSharingOneImage) {
  files_.WriteFile("cells.bmp", Bmp24(128, 128, CellPicture));
  StartInGameMode();
  int handles[20];
  for (int& h : handles) h = -7;
  ASSERT_EQ(LoadDivGraph(PathOf("cells.bmp").c_str(), 20, 4, 4, 32, 32, handles, 0), 0);
  const GraphImageInfo* shared = FindGraphRecord(handles[0])->image;
  EXPECT_EQ(shared->refCount, 16);  // the whole graph is gone
  for (int i = 0; i < 16; ++i) {
    const GraphRecord* cell = FindGraphRecord(handles[i]);
    ASSERT_NE(cell, nullptr) << i;
    EXPECT_EQ(cell->image, shared);
    EXPECT_EQ(cell->imageX, i % 4 * 32);
    EXPECT_EQ(cell->fileY, i / 4 * 32);
    ASSERT_NE(cell->fileName, nullptr);
    EXPECT_EQ(std::string(cell->fileName->path), PathOf("cells.bmp"));
    ASSERT_EQ(cell->pieceCount, 1);
    EXPECT_FLOAT_EQ(cell->pieces[0].vertices[0][2], static_cast<float>(i % 4 * 32) / 128.0f);
    EXPECT_EQ(DeviceTexel(handles[i], cell->imageX + 3, cell->imageY + 3) & 0xFFFFFF, CellPicture(i % 4 * 32, i / 4 * 32));
  }
  for (int i = 16; i < 20; ++i) EXPECT_EQ(handles[i], -7);
}

TEST_F(GraphLoadTest, DivisionStartingPastThePictureFailsAndLeavesNoGraph) {
  files_.WriteFile("cells.bmp", Bmp24(128, 128, CellPicture));
  StartInGameMode();
  int handles[8];
  const int slotsBefore = GraphSlotEnd();  // the default font's cache graph
  // The fourth column starts at x = 144, past the 128-pixel picture.
  EXPECT_EQ(LoadDivGraph(PathOf("cells.bmp").c_str(), 8, 4, 2, 48, 48, handles, 0), -1);
  EXPECT_EQ(GraphSlotEnd(), slotsBefore);
  EXPECT_EQ(LoadDivGraph(PathOf("none.bmp").c_str(), 1, 1, 1, 8, 8, handles, 0), -1);
  const std::string log = ReadLog();
  EXPECT_NE(log.find("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage"), std::string::npos);
  EXPECT_NE(log.find("右記のグラフィックファイルのロードに失敗しました：" + PathOf("none.bmp")), std::string::npos);
}

TEST_F(GraphLoadTest, DerivedGraphRefusesEmptyOrOutsideCornersAndCutsAtTheEdges) {
  files_.WriteFile("cells.bmp", Bmp24(128, 128, CellPicture));
  StartInGameMode();
  const int whole = LoadGraph(PathOf("cells.bmp").c_str(), 0);
  ASSERT_GE(whole, 0);
  EXPECT_EQ(DeriveGraph(0, 0, 0, 10, whole), -1);
  EXPECT_EQ(DeriveGraph(0, 0, 10, -1, whole), -1);
  EXPECT_EQ(DeriveGraph(-1, 0, 10, 10, whole), -1);
  EXPECT_EQ(DeriveGraph(128, 0, 1, 10, whole), -1);
  EXPECT_EQ(DeriveGraph(0, 128, 1, 10, whole), -1);
  EXPECT_EQ(DeriveGraph(0, 0, 10, 10, whole + 1), -1);
  // A rectangle reaching past the source is cut at its edges.
  const int cut = DeriveGraph(100, 120, 100, 100, whole);
  ASSERT_GE(cut, 0);
  EXPECT_EQ(FindGraphRecord(cut)->width, 28);
  EXPECT_EQ(FindGraphRecord(cut)->height, 8);
  ASSERT_EQ(DeleteGraph(cut), 0);
  const int part = DeriveGraph(100, 118, 28, 10, whole);
  ASSERT_GE(part, 0);
  EXPECT_EQ(FindGraphRecord(part)->image->refCount, 2);
}

TEST_F(GraphLoadTest, PicturesHeldInMemoryBecomeGraphs) {
  StartInGameMode();
  const std::string picture = Bmp24(20, 10, Picture);
  const std::string alpha = Bmp24(20, 10, [](int x, int) { return x < 10 ? 0x404040u : 0xFFFFFFu; });
  const int keyed = CreateGraphFromMemImage(picture.data(), static_cast<int>(picture.size()), nullptr, 0, 0, 0);
  ASSERT_GE(keyed, 0);
  EXPECT_EQ(FindGraphRecord(keyed)->image->formatIndex, 5);
  EXPECT_EQ(DeviceTexel(keyed, 5, 3), 0xFF3080C0u);
  EXPECT_NE(FindGraphRecord(keyed)->image->keptImage, nullptr) << "no file to read it back from";
  const int blended = CreateGraphFromMemImage(picture.data(), static_cast<int>(picture.size()), alpha.data(),
                                              static_cast<int>(alpha.size()), 0, 1);
  ASSERT_GE(blended, 0);
  EXPECT_EQ(FindGraphRecord(blended)->image->formatIndex, 3);
  EXPECT_EQ(DeviceTexel(blended, 19, 3), 0x40000000u) << "mirrored with its alpha";
  EXPECT_EQ(DeviceTexel(blended, 0, 3), 0xFF3080C0u);
  // A new memory picture for the graph, then refusals.
  const std::string plain = Bmp24(20, 10, [](int, int) { return 0x102030u; });
  EXPECT_EQ(ReCreateGraphFromMemImage(plain.data(), static_cast<int>(plain.size()), keyed, nullptr, 0, 0, 0), 0);
  EXPECT_EQ(DeviceTexel(keyed, 0, 3), 0xFF102030u);
  const std::string other = Bmp24(8, 8, Picture);
  EXPECT_EQ(ReCreateGraphFromMemImage(other.data(), static_cast<int>(other.size()), keyed, nullptr, 0, 0, 0), -1);
  EXPECT_EQ(CreateGraphFromMemImage(nullptr, 100, nullptr, 0, 0, 0), -1);
  EXPECT_EQ(CreateGraphFromMemImage(picture.data(), 0, nullptr, 0, 0, 0), -1);
  EXPECT_EQ(CreateGraphFromMemImage("garbage", 7, nullptr, 0, 0, 0), -1);
  EXPECT_EQ(ReCreateGraphFromMemImage(plain.data(), static_cast<int>(plain.size()), -1, nullptr, 0, 0, 0), -1);
}

TEST_F(GraphLoadTest, EmptyGraphsHaveTheirSizeAndNoPixels) {
  EXPECT_EQ(CreateEmptyGraph(8, 8), -1);  // before start-up
  StartInGameMode();
  const int opaque = CreateEmptyGraph(40, 20);
  ASSERT_GE(opaque, 0);
  EXPECT_EQ(FindGraphRecord(opaque)->width, 40);
  EXPECT_EQ(FindGraphRecord(opaque)->image->alphaChannel, 0);
  EXPECT_EQ(DeviceTexel(opaque, 39, 19), 0u);
  ASSERT_EQ(SetCreateGraphAlphaFlag(1), 0);
  const int withAlpha = CreateEmptyGraph(16, 16);
  ASSERT_GE(withAlpha, 0);
  EXPECT_EQ(FindGraphRecord(withAlpha)->image->alphaChannel, 1);
  for (const auto& [width, height] : {std::pair{0, 8}, std::pair{8, 0}, std::pair{-3, 8}, std::pair{8, -1}})
    EXPECT_EQ(CreateEmptyGraph(width, height), -1) << width << " x " << height;
}

// Arguments of the division that cannot cut anything: refused, or nothing
// made, never a crash, and never a handle past what was made written.
TEST_F(GraphLoadTest, DivisionArgumentsThatCutNothing) {
  files_.WriteFile("cells.bmp", Bmp24(128, 128, CellPicture));
  StartInGameMode();
  const std::string path = PathOf("cells.bmp");
  const int slotsBefore = GraphSlotEnd();
  struct Case {
    const char* what;
    int total, across, down, width, height;
    int result, made;
  };
  const Case cases[] = {
      {"no pieces asked for", 0, 4, 4, 32, 32, 0, 0},
      {"a negative total", -5, 4, 4, 32, 32, 0, 0},
      {"no columns", 4, 0, 4, 32, 32, 0, 0},
      {"negative rows", 4, 4, -2, 32, 32, 0, 0},
      {"pieces of no width", 4, 4, 4, 0, 32, -1, 0},
      {"pieces of negative height", 4, 4, 4, 32, -32, -1, 0},
      {"a grid whose size overflows", 1, 100000, 100000, 1, 1, 0, 1},
      {"columns past any picture", 3, 3, 1, 0x40000000, 8, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int handles[4] = {-7, -7, -7, -7};
    EXPECT_EQ(LoadDivGraph(path.c_str(), c.total, c.across, c.down, c.width, c.height, handles, 0), c.result);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(IsGraphHandleValid(handles[i]), i < c.made ? 1 : 0) << i;
    for (int i = 0; i < c.made; ++i) EXPECT_EQ(DeleteGraph(handles[i]), 0);
    EXPECT_EQ(GraphSlotEnd(), slotsBefore) << "nothing is left behind";
  }
  EXPECT_EQ(LoadDivGraph(path.c_str(), 4, 2, 2, 32, 32, nullptr, 0), -1);
  EXPECT_EQ(LoadDivGraph(nullptr, 4, 2, 2, 32, 32, nullptr, 0), -1);
}

}  // namespace
