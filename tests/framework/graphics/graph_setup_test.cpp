// Storage of new graphs: the texture grid and pieces on the device, the
// MEMIMG view on the software screen, and deletion.
#include <gtest/gtest.h>

#include "graphics/graph_setup.h"
#include "graphics/graphics_state.h"
#include "graphics_fixture.h"

namespace {

class GraphSetupTest : public wqtest::GraphicsTest {
 protected:
  GraphRecord* MakeGraph(int width, int height, int alpha) {
    const int handle = AllocGraphHandle();
    EXPECT_EQ(SetupGraphRecord(-1, handle, width, height, alpha, 0), 0);
    return FindGraphRecord(handle);
  }
};

TEST_F(GraphSetupTest, SmallAlphaGraphIsOneTextureWithFullMipChain) {
  StartInGameMode();
  ASSERT_TRUE(HardwareRendererInUse());
  GraphRecord* record = MakeGraph(100, 100, 1);
  ASSERT_NE(record, nullptr);
  const GraphImageInfo& info = *record->image;
  EXPECT_EQ(info.formatIndex, 3);
  EXPECT_EQ(info.colorBits, 32);
  EXPECT_EQ(info.mipLevels, 7);
  ASSERT_EQ(info.entryCount, 1);
  EXPECT_NE(info.entries[0].texture, nullptr);
  EXPECT_EQ(info.entries[0].textureWidth, 128);
  ASSERT_EQ(record->pieceCount, 1);
  const GraphTexturePiece& piece = record->pieces[0];
  EXPECT_EQ(piece.width, 100);
  EXPECT_FLOAT_EQ(piece.vertices[3][0], 100.0f);
  EXPECT_FLOAT_EQ(piece.vertices[3][2], 100.0f / 128.0f);
  EXPECT_FLOAT_EQ(piece.vertices[1][3], 0.0f);
}

TEST_F(GraphSetupTest, WideGraphIsCoveredByAGridOfPieces) {
  StartInGameMode();
  GraphRecord* record = MakeGraph(1200, 10, 0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->image->formatIndex, 1);  // the screen's 32 bits, no alpha
  ASSERT_EQ(record->pieceCount, 4);
  const int destX[] = {0, 1024, 1152, 1184};
  const int widths[] = {1024, 128, 32, 16};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(record->pieces[i].destX, destX[i]);
    EXPECT_EQ(record->pieces[i].width, widths[i]);
    EXPECT_EQ(record->pieces[i].height, 10);
    EXPECT_FLOAT_EQ(record->pieces[i].vertices[3][2], 1.0f);
  }
  EXPECT_FLOAT_EQ(record->pieces[0].vertices[3][3], 10.0f / 16.0f);
}

TEST_F(GraphSetupTest, SoftwareGraphIsAViewOfItsImage) {
  ASSERT_EQ(SetUseHardwareRenderer(0), 0);
  StartInGameMode();
  ASSERT_FALSE(HardwareRendererInUse());
  GraphRecord* record = MakeGraph(100, 60, 0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->image->software, 1);
  EXPECT_EQ(record->image->drawable, 1);
  EXPECT_EQ(record->image->transparentColorUsed, 1);
  EXPECT_EQ(record->view.width, 100);
  EXPECT_EQ(record->view.height, 60);
  EXPECT_EQ(record->view.pixels, record->image->image.pixels);
  EXPECT_EQ(record->pieceCount, 0);
}

TEST_F(GraphSetupTest, DeletionNotifiesAndRefusesTheHandleAfterwards) {
  StartInGameMode();
  GraphRecord* record = MakeGraph(64, 64, 0);
  ASSERT_NE(record, nullptr);
  const int handle = record->handle;
  int deleted = 0;
  record->deleteNotify = &deleted;
  EXPECT_EQ(DeleteGraph(handle), 0);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(FindGraphRecord(handle), nullptr);
  EXPECT_EQ(DeleteGraph(handle), -1);
  // A graph left alive is freed with the graphics; nothing stays allocated.
  MakeGraph(32, 32, 1);
  EndLibrary();
  EXPECT_NE(ReadLog().find("Alloc num:0"), std::string::npos);
}

}  // namespace
