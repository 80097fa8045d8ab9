// Texture coordinate transforms: D3DTSS_TEXTURETRANSFORMFLAGS and the
// D3DTS_TEXTUREn matrices against Direct3D's rules. The (u, v) of a set is
// the row (u, v, 1, 0) times the matrix; COUNTn keeps n results (the rest
// read 0); PROJECTED divides them by the last one kept.
#include <gtest/gtest.h>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9DeviceTest;

// 4 x 4 texels, each naming its column and row.
std::uint32_t Texel(int column, int row) {
  return 0xFF000000u | static_cast<std::uint32_t>(column * 0x40) << 16 |
         static_cast<std::uint32_t>(row * 0x40) << 8;
}

struct UntransformedVertex {
  float x, y, z;
  D_D3DCOLOR diffuse;
  float u, v;
};

// Texture coordinates run 0..1 across the whole target; the pixel read,
// (40, 30), sits at about (0.63, 0.64): texel (2, 2) untransformed.
constexpr int kProbeX = 40, kProbeY = 30;

D_D3DMATRIX Scale(float factor) {
  return D_D3DMATRIX{{{factor, 0, 0, 0}, {0, factor, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

D_D3DMATRIX Identity() { return Scale(1.0f); }

D_D3DMATRIX With(D_D3DMATRIX matrix, int row, int column, float value) {
  matrix.m[row][column] = value;
  return matrix;
}

struct TransformCase {
  const char* name;
  DWORD flags;
  D_D3DMATRIX matrix;
  int column, row;  // the texel expected at the probe
};

const TransformCase kCases[] = {
    {"disabled ignores the matrix", D_D3DTTFF_DISABLE, Scale(0.5f), 2, 2},
    {"count 2, zero matrix: the origin", D_D3DTTFF_COUNT2, D_D3DMATRIX{}, 0, 0},
    {"count 2 scales", D_D3DTTFF_COUNT2, Scale(0.5f), 1, 1},
    {"count 2, third row translates", D_D3DTTFF_COUNT2, With(With(Identity(), 2, 0, 0.25f), 2, 1, 0.25f), 3, 3},
    {"count 2, fourth row meets the 0", D_D3DTTFF_COUNT2, With(With(Identity(), 3, 0, 0.25f), 3, 1, 0.25f), 2, 2},
    {"count 1 leaves v at 0", D_D3DTTFF_COUNT1, Scale(0.5f), 1, 0},
    {"count 3 without projection", D_D3DTTFF_COUNT3, With(Identity(), 2, 2, 2.0f), 2, 2},
    {"count 3 projected divides by the third", D_D3DTTFF_COUNT3 | D_D3DTTFF_PROJECTED,
     With(Identity(), 2, 2, 2.0f), 1, 1},
    {"count 4 projected divides by the fourth", D_D3DTTFF_COUNT4 | D_D3DTTFF_PROJECTED,
     With(With(Identity(), 3, 3, 0.0f), 2, 3, 2.0f), 1, 1},
    {"count 4 without projection", D_D3DTTFF_COUNT4, With(With(Identity(), 3, 3, 0.0f), 2, 3, 2.0f), 2, 2},
};

class D3d9TextureTransformTest : public D3d9DeviceTest {
 protected:
  void SetUp() override {
    D3d9DeviceTest::SetUp();
    std::vector<std::uint32_t> texels;
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 4; ++column) texels.push_back(Texel(column, row));
    }
    texture_ = MakeTexture(4, 4, D_D3DFMT_A8R8G8B8, texels);
    device_->SetTexture(0, texture_);
    device_->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  }
  void TearDown() override {
    device_->SetTexture(0, nullptr);
    texture_->Release();
    D3d9DeviceTest::TearDown();
  }

  std::uint32_t DrawUntransformed() {
    const UntransformedVertex square[4] = {{-1, 1, 0.5f, 0xFFFFFFFFu, 0, 0},
                                           {1, 1, 0.5f, 0xFFFFFFFFu, 1, 0},
                                           {-1, -1, 0.5f, 0xFFFFFFFFu, 0, 1},
                                           {1, -1, 0.5f, 0xFFFFFFFFu, 1, 1}};
    device_->SetFVF(D_D3DFVF_XYZ | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1);
    EXPECT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, square, sizeof square[0]), D_D3D_OK);
    return PixelAt(kProbeX, kProbeY);
  }

  D_IDirect3DTexture9* texture_ = nullptr;
};

TEST_F(D3d9TextureTransformTest, FlagsAndMatricesMapTheCoordinatesAsDirect3DDoes) {
  for (const TransformCase& c : kCases) {
    ASSERT_EQ(device_->SetTransform(D_D3DTS_TEXTURE0, &c.matrix), D_D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(0, D_D3DTSS_TEXTURETRANSFORMFLAGS, c.flags), D_D3D_OK);
    EXPECT_EQ(DrawUntransformed(), Texel(c.column, c.row)) << c.name;
  }
}

TEST_F(D3d9TextureTransformTest, EachStageTakesItsOwnMatrixAndPreTransformedVerticesNone) {
  // Stage 1 reads the same set through a zero matrix; stage 0 keeps its
  // coordinates. Stage 1 selects its texel, so the origin shows.
  device_->SetTexture(1, texture_);
  device_->SetTextureStageState(1, D_D3DTSS_TEXCOORDINDEX, 0);
  device_->SetTextureStageState(1, D_D3DTSS_COLOROP, D_D3DTOP_SELECTARG1);
  device_->SetTextureStageState(1, D_D3DTSS_COLORARG1, D_D3DTA_TEXTURE);
  D_D3DMATRIX zero{};
  device_->SetTransform(static_cast<D_D3DTRANSFORMSTATETYPE>(D_D3DTS_TEXTURE0 + 1), &zero);
  device_->SetTextureStageState(1, D_D3DTSS_TEXTURETRANSFORMFLAGS, D_D3DTTFF_COUNT2);
  EXPECT_EQ(DrawUntransformed(), Texel(0, 0));
  device_->SetTextureStageState(1, D_D3DTSS_COLOROP, D_D3DTOP_DISABLE);
  EXPECT_EQ(DrawUntransformed(), Texel(2, 2));
  device_->SetTexture(1, nullptr);

  // Vertices the program transformed itself skip the texture transform.
  device_->SetTransform(D_D3DTS_TEXTURE0, &zero);
  device_->SetTextureStageState(0, D_D3DTSS_TEXTURETRANSFORMFLAGS, D_D3DTTFF_COUNT2);
  device_->SetFVF(wqtest::kTexturedFvf);
  DrawQuad(0, 0, kWidth, kHeight, 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(kProbeX, kProbeY), Texel(2, 2));
}

}  // namespace
