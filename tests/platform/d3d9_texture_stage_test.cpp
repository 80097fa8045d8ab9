// The texture-stage cascade against Direct3D 9's per-pixel formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9DeviceTest;

constexpr std::uint32_t kTexel = 0xC0406080u;
constexpr std::uint32_t kDiffuse = 0x80A0C020u;
constexpr std::uint32_t kFactor = 0x40FF8010u;

double Channel(std::uint32_t argb, int shift) { return ((argb >> shift) & 0xFF) / 255.0; }

// One channel (shift 16, 8, 0 for colour, 24 for alpha) of an operation on
// a1 = texture, a2 = diffuse, a0 = texture factor, in the first stage.
double Formula(DWORD op, int shift) {
  double a0 = Channel(kFactor, shift), a1 = Channel(kTexel, shift), a2 = Channel(kDiffuse, shift);
  double a1_alpha = Channel(kTexel, 24);
  switch (op) {
    case D_D3DTOP_SELECTARG1: return a1;
    case D_D3DTOP_SELECTARG2: return a2;
    case D_D3DTOP_MODULATE: return a1 * a2;
    case D_D3DTOP_MODULATE2X: return a1 * a2 * 2;
    case D_D3DTOP_MODULATE4X: return a1 * a2 * 4;
    case D_D3DTOP_ADD: return a1 + a2;
    case D_D3DTOP_ADDSIGNED: return a1 + a2 - 0.5;
    case D_D3DTOP_ADDSIGNED2X: return (a1 + a2 - 0.5) * 2;
    case D_D3DTOP_SUBTRACT: return a1 - a2;
    case D_D3DTOP_ADDSMOOTH: return a1 + a2 - a1 * a2;
    case D_D3DTOP_BLENDDIFFUSEALPHA: {
      double alpha = Channel(kDiffuse, 24);
      return a1 * alpha + a2 * (1 - alpha);
    }
    case D_D3DTOP_BLENDTEXTUREALPHA: return a1 * a1_alpha + a2 * (1 - a1_alpha);
    case D_D3DTOP_BLENDFACTORALPHA: {
      double alpha = Channel(kFactor, 24);
      return a1 * alpha + a2 * (1 - alpha);
    }
    case D_D3DTOP_BLENDTEXTUREALPHAPM: return a1 + a2 * (1 - a1_alpha);
    case D_D3DTOP_BLENDCURRENTALPHA: {
      double alpha = Channel(kDiffuse, 24);  // current is the diffuse colour in stage 0
      return a1 * alpha + a2 * (1 - alpha);
    }
    case D_D3DTOP_MODULATEALPHA_ADDCOLOR: return a1 + a1_alpha * a2;
    case D_D3DTOP_MODULATECOLOR_ADDALPHA: return a1 * a2 + a1_alpha;
    case D_D3DTOP_MODULATEINVALPHA_ADDCOLOR: return (1 - a1_alpha) * a2 + a1;
    case D_D3DTOP_MODULATEINVCOLOR_ADDALPHA: return (1 - a1) * a2 + a1_alpha;
    case D_D3DTOP_DOTPRODUCT3: {
      double sum = 0;
      for (int s : {16, 8, 0}) sum += (Channel(kTexel, s) - 0.5) * (Channel(kDiffuse, s) - 0.5);
      return 4 * sum;
    }
    case D_D3DTOP_MULTIPLYADD: return a0 + a1 * a2;
    case D_D3DTOP_LERP: return a0 * a1 + (1 - a0) * a2;
    default: return -1;
  }
}

std::uint32_t Byte(double value) {
  return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

bool ColorOnly(DWORD op) {
  return op >= D_D3DTOP_MODULATEALPHA_ADDCOLOR && op <= D_D3DTOP_MODULATEINVCOLOR_ADDALPHA;
}

class D3d9TextureStageTest : public wqtest::D3d9AlphaTargetTest {
 protected:
  void SetUp() override {
    D3d9AlphaTargetTest::SetUp();
    texture_ = MakeTexture(1, 1, D_D3DFMT_A8R8G8B8, {kTexel});
    device_->SetRenderState(D_D3DRS_TEXTUREFACTOR, kFactor);
  }
  void TearDown() override {
    texture_->Release();
    D3d9AlphaTargetTest::TearDown();
  }

  D_IDirect3DTexture9* texture_ = nullptr;
};

TEST_F(D3d9TextureStageTest, EveryOperationOfTheFirstStage) {
  device_->SetTexture(0, texture_);
  std::vector<DWORD> ops;
  for (DWORD op = D_D3DTOP_SELECTARG1; op <= D_D3DTOP_LERP; ++op) {
    bool bump = op == D_D3DTOP_BUMPENVMAP || op == D_D3DTOP_BUMPENVMAPLUMINANCE;
    if (!bump && op != D_D3DTOP_PREMODULATE) ops.push_back(op);
  }
  for (std::size_t i = 0; i < ops.size(); ++i) {
    DWORD op = ops[i];
    for (auto [operation, arg0, arg1, arg2] :
         {std::array{D_D3DTSS_COLOROP, D_D3DTSS_COLORARG0, D_D3DTSS_COLORARG1, D_D3DTSS_COLORARG2},
          std::array{D_D3DTSS_ALPHAOP, D_D3DTSS_ALPHAARG0, D_D3DTSS_ALPHAARG1, D_D3DTSS_ALPHAARG2}}) {
      bool alpha = operation == D_D3DTSS_ALPHAOP;
      device_->SetTextureStageState(0, operation, alpha && ColorOnly(op) ? D_D3DTOP_SELECTARG1 : op);
      device_->SetTextureStageState(0, arg0, D_D3DTA_TFACTOR);
      device_->SetTextureStageState(0, arg1, D_D3DTA_TEXTURE);
      device_->SetTextureStageState(0, arg2, D_D3DTA_DIFFUSE);
    }
    DrawQuad(static_cast<int>(i) * 2, 0, 2, 2, kDiffuse);
  }
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (std::size_t i = 0; i < ops.size(); ++i) {
    DWORD op = ops[i];
    double alpha = op == D_D3DTOP_DOTPRODUCT3 ? Formula(op, 0)
                   : ColorOnly(op)            ? Channel(kTexel, 24)
                                              : Formula(op, 24);
    std::uint32_t expected = Byte(alpha) << 24 | Byte(Formula(op, 16)) << 16 |
                             Byte(Formula(op, 8)) << 8 | Byte(Formula(op, 0));
    EXPECT_TRUE(wqtest::ColorsNear(pixels[i * 2], expected, 1))
        << "op " << op << std::hex << ": got " << pixels[i * 2] << " expected " << expected;
  }
}

TEST_F(D3d9TextureStageTest, StagesCascadeThroughCurrentAndTempWithArgumentModifiers) {
  for (DWORD stage = 0; stage < 3; ++stage) {
    device_->SetTexture(stage, texture_);
    device_->SetTextureStageState(stage, D_D3DTSS_TEXCOORDINDEX, 0);
  }
  // Stage 0: temp = texture x diffuse, its alpha the diffuse alpha.
  device_->SetTextureStageState(0, D_D3DTSS_COLOROP, D_D3DTOP_MODULATE);
  device_->SetTextureStageState(0, D_D3DTSS_COLORARG2, D_D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D_D3DTSS_ALPHAARG1, D_D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D_D3DTSS_RESULTARG, D_D3DTA_TEMP);
  // Stage 1: current = temp + (1 - factor), alpha the texture's.
  device_->SetTextureStageState(1, D_D3DTSS_COLOROP, D_D3DTOP_ADD);
  device_->SetTextureStageState(1, D_D3DTSS_COLORARG1, D_D3DTA_TEMP);
  device_->SetTextureStageState(1, D_D3DTSS_COLORARG2, D_D3DTA_TFACTOR | D_D3DTA_COMPLEMENT);
  device_->SetTextureStageState(1, D_D3DTSS_ALPHAOP, D_D3DTOP_SELECTARG1);
  // Stage 2: current x the texture's alpha in every channel; alpha passes.
  device_->SetTextureStageState(2, D_D3DTSS_COLOROP, D_D3DTOP_MODULATE);
  device_->SetTextureStageState(2, D_D3DTSS_COLORARG1, D_D3DTA_CURRENT);
  device_->SetTextureStageState(2, D_D3DTSS_COLORARG2, D_D3DTA_TEXTURE | D_D3DTA_ALPHAREPLICATE);
  DrawQuad(0, 0, 2, 2, kDiffuse);

  std::uint32_t expected = Byte(Channel(kTexel, 24)) << 24;
  for (int shift : {16, 8, 0}) {
    double temp = Channel(kTexel, shift) * Channel(kDiffuse, shift);
    double current = std::min(1.0, temp + 1 - Channel(kFactor, shift));
    expected |= Byte(current * Channel(kTexel, 24)) << shift;
  }
  std::uint32_t actual = ReadTarget(target_)[0];
  EXPECT_TRUE(wqtest::ColorsNear(actual, expected, 1)) << std::hex << actual << " " << expected;
}

TEST_F(D3d9TextureStageTest, ADisabledStageEndsTheCascadeAndUntexturedStagesPassTheVertexColour) {
  // No texture: the default stage gives the vertex colour and alpha.
  DrawQuad(0, 0, 2, 2, kDiffuse);
  device_->SetTextureStageState(0, D_D3DTSS_COLOROP, D_D3DTOP_DISABLE);
  device_->SetTextureStageState(1, D_D3DTSS_COLOROP, D_D3DTOP_SELECTARG1);
  device_->SetTextureStageState(1, D_D3DTSS_COLORARG1, D_D3DTA_TFACTOR);
  DrawQuad(2, 0, 2, 2, kDiffuse);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  EXPECT_EQ(pixels[0], kDiffuse);
  EXPECT_EQ(pixels[2], kDiffuse);  // stage 0 disabled: the diffuse colour as it is
}

TEST_F(D3d9TextureStageTest, AStageReadsTheSpecularColourAndTheCoordinateSetItNames) {
  struct Vertex {
    float x, y, z, rhw;
    D_D3DCOLOR diffuse, specular;
    float u0, v0, u1, v1;
  };
  // Black on the left half, white on the right: set 0 points left, set 1 right.
  D_IDirect3DTexture9* halves = MakeTexture(2, 1, D_D3DFMT_A8R8G8B8, {0xFF000000u, 0xFFFFFFFFu});
  ASSERT_EQ(device_->SetFVF(0x2C4), D_D3D_OK);
  device_->SetTexture(0, halves);
  device_->SetTextureStageState(0, D_D3DTSS_TEXCOORDINDEX, 1);
  device_->SetTextureStageState(0, D_D3DTSS_COLOROP, D_D3DTOP_MODULATE);
  device_->SetTextureStageState(0, D_D3DTSS_COLORARG1, D_D3DTA_TEXTURE);
  device_->SetTextureStageState(0, D_D3DTSS_COLORARG2, D_D3DTA_SPECULAR);
  device_->SetTextureStageState(0, D_D3DTSS_ALPHAOP, D_D3DTOP_SELECTARG1);
  device_->SetTextureStageState(0, D_D3DTSS_ALPHAARG1, D_D3DTA_SPECULAR | D_D3DTA_COMPLEMENT);
  Vertex quad[4]{};
  const float x[4] = {-0.5f, 1.5f, -0.5f, 1.5f}, y[4] = {-0.5f, -0.5f, 1.5f, 1.5f};
  for (int i = 0; i < 4; ++i) quad[i] = {x[i], y[i], 0.5f, 1.0f, kDiffuse, 0x40304050u, 0.25f, 0.5f, 0.75f, 0.5f};
  ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D_D3D_OK);
  EXPECT_EQ(ReadTarget(target_)[0], 0xBF304050u);
  device_->SetTexture(0, nullptr);
  halves->Release();
}

TEST_F(D3d9DeviceTest, SpecularIsAddedAfterTheStagesWhenEnabled) {
  struct Vertex {
    float x, y, z, rhw;
    D_D3DCOLOR diffuse, specular;
    float u0, v0, u1, v1;
  };
  ASSERT_EQ(device_->SetFVF(0x2C4), D_D3D_OK);
  auto quad = [](float left, D_D3DCOLOR specular) {
    std::array<Vertex, 4> vertices{};
    float x[4] = {left, left + 2, left, left + 2}, y[4] = {0, 0, 2, 2};
    for (int i = 0; i < 4; ++i) vertices[i] = {x[i] - 0.5f, y[i] - 0.5f, 0.5f, 1.0f, 0xFF402010u, specular, 0, 0, 0, 0};
    return vertices;
  };
  auto plain = quad(0, 0xFF304050u);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, plain.data(), sizeof(Vertex));
  device_->SetRenderState(D_D3DRS_SPECULARENABLE, TRUE);
  auto lit = quad(2, 0xFFF04050u);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, lit.data(), sizeof(Vertex));
  std::vector<std::uint32_t> pixels = ReadTarget();
  EXPECT_EQ(pixels[0], 0xFF402010u);
  EXPECT_EQ(pixels[2], 0xFFFF6060u);
}

}  // namespace
