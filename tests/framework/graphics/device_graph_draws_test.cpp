// Where the Direct3D draws put their vertices: the half-pixel origin, the
// clipping that moves vertices and texture coordinates together, the
// rotated draw's centre rules, and what is refused.
#include <cmath>
#include <numbers>

#include "device_draw_fixture.h"

namespace {

using wqtest::DeviceDrawTest;

enum Field { kX, kY, kZ, kRhw, kDiffuse, kU, kV };
// The quad's vertices: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.

TEST_F(DeviceDrawTest, DrawGraphPlacesTheQuadOnHalfPixelsWithTheVertexColour) {
  GraphRecord* graph = MakeGraph(32, 32, 64, 32);
  EXPECT_EQ(G_D3D_DrawGraph(graph, 10, 20, 10.0f, 20.0f, 0, 1), 0);
  ASSERT_EQ(Batch().count, 6);
  ASSERT_EQ(Batch().format, 1);
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), 9.5f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kY), 19.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kX), 41.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kY), 51.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kU), 0.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kV), 1.0f);
  // Triangles (0, 1, 2) and (3, 2, 1), at the 2D depth.
  EXPECT_FLOAT_EQ(BatchFloat(4, kX), BatchFloat(2, kX));
  EXPECT_FLOAT_EQ(BatchFloat(5, kY), BatchFloat(1, kY));
  for (int vertex = 0; vertex < 6; ++vertex) EXPECT_FLOAT_EQ(BatchFloat(vertex, kZ), 0.2f);
  std::uint32_t diffuse;
  const float color = BatchFloat(0, kDiffuse);
  std::memcpy(&diffuse, &color, 4);
  EXPECT_EQ(diffuse, Batch().vertexColor);
}

TEST_F(DeviceDrawTest, DrawGraphClipsVerticesAndTextureCoordinatesToTheDrawArea) {
  GraphRecord* graph = MakeGraph(32, 32, 64, 32);
  EXPECT_EQ(G_D3D_DrawGraph(graph, -16, 20, -16.0f, 20.0f, 0, 1), 0);
  ASSERT_EQ(Batch().count, 6);
  // The left edge at -16.5 moves 16.5 pixels onto the area's left edge.
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), 0.0f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kU), 16.5f / 64.0f);
  EXPECT_FLOAT_EQ(BatchFloat(2, kX), 0.0f);
  EXPECT_FLOAT_EQ(BatchFloat(2, kU), 16.5f / 64.0f);
  EXPECT_FLOAT_EQ(BatchFloat(1, kX), 15.5f);
  EXPECT_FLOAT_EQ(BatchFloat(1, kU), 0.5f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kY), 19.5f);
}

// With a blend graph the vertices carry both textures' coordinates: the
// blend graph's over the drawn graph's own pixels, moved by clipping too.
TEST_F(DeviceDrawTest, BlendGraphCoordinatesFollowTheGraphAndItsClipping) {
  GraphRecord* graph = MakeGraph(32, 32, 64, 32);
  wqtest::StubTexture blend;
  SetStubBlendGraph(&blend, 128.0f);
  EXPECT_EQ(G_D3D_DrawGraph(graph, -16, 20, -16.0f, 20.0f, 0, 1), 0);
  ASSERT_EQ(Batch().format, 2);
  enum { kBlendU = 6, kBlendV, kGraphU, kGraphV };
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), 0.0f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kBlendU), 16.5f / 128.0f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kGraphU), 16.5f / 64.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kBlendU), 32.0f / 128.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kBlendV), 32.0f / 128.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kGraphV), 1.0f);
  SetPendingBlendTexture(nullptr, -1, -1);
}

TEST_F(DeviceDrawTest, GraphsWhollyOutsideTheDrawAreaAddNothing) {
  GraphRecord* graph = MakeGraph(32, 32, 32, 32);
  SetDrawArea(100, 100, 200, 200);
  const int places[][2] = {{68, 150}, {150, 68}, {200, 150}, {150, 200}};
  for (const auto& place : places) {
    SCOPED_TRACE(place[0] * 1000 + place[1]);
    const float fx = static_cast<float>(place[0]), fy = static_cast<float>(place[1]);
    EXPECT_EQ(G_D3D_DrawGraph(graph, place[0], place[1], fx, fy, 0, 1), 0);
    EXPECT_EQ(G_D3D_DrawGraphStretched(graph, place[0], place[1], place[0] + 32, place[1] + 32, fx, fy, fx + 32,
                                       fy + 32, 0, 1),
              0);
    EXPECT_EQ(Batch().count, 0);
  }
  EXPECT_EQ(G_D3D_DrawGraph(graph, 69, 150, 69.0f, 150.0f, 0, 1), 0);
  EXPECT_EQ(Batch().count, 6);
}

TEST_F(DeviceDrawTest, StretchedDrawScalesAndClipsPerStretchedPixel) {
  GraphRecord* graph = MakeGraph(32, 32, 32, 32);
  // 32 texels over 64 pixels; the 10 pixels cut off the left (against the
  // area minus 0.5) are 5 texels.
  EXPECT_EQ(G_D3D_DrawGraphStretched(graph, -10, 0, 54, 64, -10.0f, 0.0f, 54.0f, 64.0f, 0, 1), 0);
  ASSERT_EQ(Batch().count, 6);
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), -0.5f);
  EXPECT_FLOAT_EQ(BatchFloat(0, kU), 5.0f / 32.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kX), 53.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kY), 63.5f);
  EXPECT_FLOAT_EQ(BatchFloat(3, kU), 1.0f);
}

TEST_F(DeviceDrawTest, ZeroSizeStretchZeroScaleAndALostDeviceAreRefused) {
  GraphRecord* graph = MakeGraph(32, 32, 32, 32);
  EXPECT_EQ(G_D3D_DrawGraphStretched(graph, 5, 5, 5, 40, 5, 5, 5, 40, 0, 1), -1);
  EXPECT_EQ(G_D3D_DrawGraphStretched(graph, 5, 5, 40, 5, 5, 5, 40, 5, 0, 1), -1);
  EXPECT_EQ(G_D3D_DrawGraphRotated(graph, 100.0f, 100.0f, 0.0, 0.5, 0, 0), -1);
  Graphics().deviceLost = 1;
  EXPECT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0, 0, 0, 1), -1);
  EXPECT_EQ(G_D3D_DrawBox(0, 0, 10, 10, 0), -1);
  Graphics().deviceLost = 0;
  EXPECT_EQ(Batch().count, 0);
}

struct RotatedCase {
  int size;
  float x, y;
  double scale, angle;
  float left, top, right, bottom;  // the corners' extent
};

TEST_F(DeviceDrawTest, RotatedDrawCentresGraphsByTheirSizeAndSnapsQuarterTurns) {
  const double quarter = std::numbers::pi / 2.0;
  const RotatedCase cases[] = {
      {33, 100.0f, 100.0f, 1.0, 0.0, 83.5f, 83.5f, 116.5f, 116.5f},
      {32, 100.0f, 100.0f, 1.0, 0.0, 83.5f, 83.5f, 115.5f, 115.5f},
      {32, 100.25f, 100.0f, 1.0, 0.0, 84.25f, 84.0f, 116.25f, 116.0f},
      {32, 100.0f, 100.0f, 2.0, 0.0, 67.5f, 67.5f, 131.5f, 131.5f},
      // An odd graph whose turned edges land on whole pixels moves half a
      // pixel, so that texel centres meet pixel centres; unturned it stays.
      {33, 100.0f, 100.0f, 3.0, quarter, 49.5f, 49.5f, 148.5f, 148.5f},
      {33, 100.0f, 100.0f, 3.0, 0.0, 50.0f, 50.0f, 149.0f, 149.0f},
      {33, 100.0f, 100.0f, 1.0, quarter, 83.5f, 83.5f, 116.5f, 116.5f},
  };
  for (const RotatedCase& c : cases) {
    SCOPED_TRACE(c.size * 1000 + c.angle * 10 + c.scale);
    GraphRecord* graph = MakeGraph(c.size, c.size, 64, 64);
    FlushVertexBatch();
    ASSERT_EQ(G_D3D_DrawGraphRotated(graph, c.x, c.y, c.scale, c.angle, 0, 0), 0);
    ASSERT_EQ(Batch().count, 6);
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (int vertex = 0; vertex < 4; ++vertex) {
      left = std::fmin(left, BatchFloat(vertex, kX));
      right = std::fmax(right, BatchFloat(vertex, kX));
      top = std::fmin(top, BatchFloat(vertex, kY));
      bottom = std::fmax(bottom, BatchFloat(vertex, kY));
    }
    EXPECT_NEAR(left, c.left, 1e-4);
    EXPECT_NEAR(top, c.top, 1e-4);
    EXPECT_NEAR(right, c.right, 1e-4);
    EXPECT_NEAR(bottom, c.bottom, 1e-4);
  }
}

TEST_F(DeviceDrawTest, RotatedDrawTurnsClockwiseAndMirrors) {
  GraphRecord* graph = MakeGraph(32, 32, 32, 32);
  ASSERT_EQ(G_D3D_DrawGraphRotated(graph, 100.0f, 100.0f, 1.0, std::numbers::pi / 2.0, 0, 0), 0);
  // Clockwise on screen: the top-left corner goes to the top right.
  EXPECT_GT(BatchFloat(0, kX), 100.0f);
  EXPECT_LT(BatchFloat(0, kY), 100.0f);
  FlushVertexBatch();
  ASSERT_EQ(G_D3D_DrawGraphRotated(graph, 100.0f, 100.0f, 1.0, 0.0, 0, 1), 0);
  EXPECT_FLOAT_EQ(BatchFloat(0, kX), 115.5f);  // mirrored: the left edge on the right
  EXPECT_FLOAT_EQ(BatchFloat(0, kU), 0.0f);
}

}  // namespace
