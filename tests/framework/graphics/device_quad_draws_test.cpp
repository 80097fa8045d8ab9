// Graphs onto four corners: axis-aligned integer quads become stretched
// draws, parallelograms are plain triangles, other quads get per-corner
// reciprocal depths from their diagonals, and graphs of several pieces
// place each piece inside the quad.
#include "device_draw_fixture.h"

namespace {

using wqtest::DeviceDrawTest;

enum Field { kX, kY, kZ, kRhw, kDiffuse, kU, kV };

TEST_F(DeviceDrawTest, AxisAlignedIntegerQuadIsAStretchedDraw) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  ASSERT_EQ(G_D3D_DrawGraphQuadInt(graph, 10, 10, 42, 10, 10, 42, 42, 42, 0), 0);
  ASSERT_EQ(Batch().count, 6);
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), 9.5f);  // the stretched draw's half-pixel origin
  EXPECT_FLOAT_EQ(BatchFloat(3, kX), 41.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kY), 41.5f);
}

TEST_F(DeviceDrawTest, ParallelogramsAreFlatAndOtherQuadsGetPerspective) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  ASSERT_EQ(G_D3D_DrawGraphQuadF(10, 0, 30, 0, 0, 20, 20, 20, graph, 0), 0);
  ASSERT_EQ(Batch().count, 6);
  for (int vertex = 0; vertex < 6; ++vertex) EXPECT_FLOAT_EQ(BatchFloat(vertex, kRhw), 1.0f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), 10.0f);
  EXPECT_FLOAT_EQ(BatchFloat(2, kY), 20.0f);
  FlushVertexBatch();
  // A trapezoid narrow at the top: its diagonals cross nearer the top, so
  // the top corners lie farther away (smaller reciprocal depth).
  ASSERT_EQ(G_D3D_DrawGraphQuadF(40, 0, 60, 0, 0, 40, 100, 40, graph, 0), 0);
  ASSERT_EQ(Batch().count, 6);
  const float top = BatchFloat(0, kRhw), bottom = BatchFloat(3, kRhw);
  EXPECT_FLOAT_EQ(BatchFloat(1, kRhw), top);
  EXPECT_FLOAT_EQ(BatchFloat(2, kRhw), bottom);
  // Diagonals meet 1/6 of the way down: q = 6 / 5 at the top, 6 at the bottom.
  EXPECT_NEAR(top, 1.2f, 1e-4);
  EXPECT_NEAR(bottom, 6.0f, 1e-4);
  // The texture corners stay the graph's corners.
  EXPECT_FLOAT_EQ(BatchFloat(3, kU), 1.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kV), 1.0f);
}

TEST_F(DeviceDrawTest, PiecesOfAGraphArePlacedBilinearlyInsideTheQuad) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  // Split the graph's one piece into two halves side by side.
  GraphTexturePiece halves[2] = {graph->pieces[0], graph->pieces[0]};
  for (int corner : {1, 3}) {
    halves[0].vertices[corner][0] = 8.0f;
    halves[0].vertices[corner][2] = 0.5f;
  }
  for (int corner : {0, 2}) {
    halves[1].vertices[corner][0] = 8.0f;
    halves[1].vertices[corner][2] = 0.5f;
  }
  graph->pieces = halves;
  graph->pieceCount = 2;
  ASSERT_EQ(G_D3D_DrawGraphQuadF(0, 0, 32, 0, 0, 32, 32, 32, graph, 0), 0);
  ASSERT_EQ(Batch().count, 12);
  EXPECT_FLOAT_EQ(BatchFloat(1, kX), 16.0f);  // first half's top-right
  EXPECT_FLOAT_EQ(BatchFloat(6, kX), 16.0f);  // second half's top-left
  EXPECT_FLOAT_EQ(BatchFloat(9, kX), 32.0f);
  EXPECT_FLOAT_EQ(BatchFloat(6, kU), 0.5f);
}

TEST_F(DeviceDrawTest, EndSceneWithFlushCopiesTheSubBackBufferOnlyWhenThereIsOne) {
  EXPECT_EQ(EndSceneWithFlush(), 0);
  EXPECT_EQ(device_.Count("StretchRect"), 0);
  wqtest::StubSurface sub(640, 480);
  Graphics().subBackBuffer = &sub;
  Graphics().inScene = 1;
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(EndSceneWithFlush(), 0);
  Graphics().subBackBuffer = nullptr;
  EXPECT_EQ(Batch().count, 0);
  EXPECT_EQ(device_.Count("StretchRect"), 1);
  EXPECT_EQ(device_.Count("SetRenderTarget"), 1);
  EXPECT_EQ(device_.calls.back(), "SetViewport 0 0 640 480");
}

}  // namespace
