// The untextured shapes on the Direct3D path: the box clipped to the draw
// area and tinted by the vertex colour, and the circle drawn straight to
// the device, each filled row once.
#include <set>

#include "WqLib.h"
#include "device_draw_fixture.h"

namespace {

using wqtest::DeviceDrawTest;

TEST_F(DeviceDrawTest, BoxIsClippedSortedAndTintedWithoutHalfPixelOffset) {
  SetDrawArea(10, 10, 100, 100);
  SetDrawBrightness(255, 128, 0);
  SetBlendMode(1, 64);
  EXPECT_EQ(G_D3D_DrawBox(50, 120, 0, 40, static_cast<int>(MakeColor(255, 255, 0))), 0);
  ASSERT_EQ(Batch().count, 6);
  ASSERT_EQ(Batch().format, 0);
  EXPECT_FLOAT_EQ(BatchFloat(0, 0), 10.0f);
  EXPECT_FLOAT_EQ(BatchFloat(0, 1), 40.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, 0), 50.0f);
  EXPECT_FLOAT_EQ(BatchFloat(3, 1), 100.0f);
  std::uint32_t color;
  const float field = BatchFloat(3, 4);
  std::memcpy(&color, &field, 4);
  EXPECT_EQ(color, 0x40FF8000u);  // alpha 64, red 255, green 255 x 128 / 255, blue 0
  // Nothing of an empty box.
  EXPECT_EQ(G_D3D_DrawBox(0, 0, 5, 5, 0), 0);
  EXPECT_EQ(Batch().count, 6);
}

// The rows of the lines of every LINELIST draw, and their spans.
std::multiset<int> LineRows(const wqtest::RecordingDevice& device, std::vector<std::pair<float, float>>* spans) {
  std::multiset<int> rows;
  for (const auto& draw : device.draws) {
    EXPECT_EQ(draw.type, D_D3DPT_LINELIST);
    EXPECT_LE(draw.Vertices(), 20);
    for (int v = 0; v + 1 < draw.Vertices(); v += 2) {
      EXPECT_EQ(draw.Float(v, 1), draw.Float(v + 1, 1));
      rows.insert(static_cast<int>(draw.Float(v, 1)));
      if (spans) spans->push_back({draw.Float(v, 0), draw.Float(v + 1, 0)});
    }
  }
  return rows;
}

TEST_F(DeviceDrawTest, FilledCircleDrawsEveryRowOnce) {
  G_D3D_DrawGraph(MakeGraph(8, 8, 8, 8), 0, 0, 0.0f, 0.0f, 0, 1);
  FlushVertexBatch();  // a textured vertex format on the device
  device_.calls.clear();
  device_.draws.clear();
  EXPECT_EQ(G_D3D_DrawCircle(100, 100, 20, 0, 1), 0);
  const std::multiset<int> rows = LineRows(device_, nullptr);
  EXPECT_EQ(rows.size(), 41u);
  EXPECT_EQ(std::set<int>(rows.begin(), rows.end()).size(), rows.size());
  EXPECT_EQ(*rows.begin(), 80);
  EXPECT_EQ(*rows.rbegin(), 120);
  EXPECT_GT(device_.draws.size(), 1u);  // ten lines per draw
  EXPECT_EQ(device_.Count("SetFVF 68"), 1);
}

TEST_F(DeviceDrawTest, FilledCircleOfRadiusZeroIsOnePixelAndRowsAreClipped) {
  std::vector<std::pair<float, float>> spans;
  EXPECT_EQ(G_D3D_DrawCircle(30, 40, 0, 0, 1), 0);
  EXPECT_EQ(LineRows(device_, &spans).size(), 1u);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_FLOAT_EQ(spans[0].first, 30.0f);
  EXPECT_FLOAT_EQ(spans[0].second, 31.0f);
  device_.draws.clear();
  spans.clear();
  SetDrawArea(95, 95, 640, 480);
  EXPECT_EQ(G_D3D_DrawCircle(100, 100, 10, 0, 1), 0);
  const std::multiset<int> rows = LineRows(device_, &spans);
  EXPECT_EQ(*rows.begin(), 95);
  EXPECT_EQ(rows.size(), 16u);
  for (const auto& span : spans) EXPECT_GE(span.first, 95.0f);
}

TEST_F(DeviceDrawTest, OutlinedCircleDrawsItsPointsInBatchesOfForty) {
  EXPECT_EQ(G_D3D_DrawCircle(100, 100, 30, 0, 0), 0);
  ASSERT_FALSE(device_.draws.empty());
  int points = 0;
  for (const auto& draw : device_.draws) {
    EXPECT_EQ(draw.type, D_D3DPT_POINTLIST);
    EXPECT_LE(draw.Vertices(), 40);
    points += draw.Vertices();
    for (int v = 0; v < draw.Vertices(); ++v) {
      const float dx = draw.Float(v, 0) - 100.0f, dy = draw.Float(v, 1) - 100.0f;
      EXPECT_NEAR(dx * dx + dy * dy, 900.0f, 61.0f);
    }
  }
  EXPECT_EQ(points % 8, 0);
}

}  // namespace
