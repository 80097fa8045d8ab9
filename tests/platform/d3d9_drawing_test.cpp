#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <utility>
#include <vector>

#include "d3d9_test_support.h"
#include "platform/control.h"

namespace {

using wqtest::D3d9DeviceTest;
using wqtest::TexturedVertex;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// Checks that exactly the pixels of `area` hold `inside` and all others `outside`.
void ExpectArea(const std::vector<std::uint32_t>& pixels, int width, RECT area,
                std::uint32_t inside, std::uint32_t outside) {
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
    bool in = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
    ASSERT_EQ(pixels[i], in ? inside : outside) << x << "," << y;
  }
}

TEST_F(D3d9DeviceTest, ClearFillsTheTargetAndPresentShowsItInTheWindow) {
  ASSERT_EQ(device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0), D_D3D_OK);
  EXPECT_EQ(PixelAt(0, 0), 0xFF336699u);
  EXPECT_EQ(PixelAt(kWidth - 1, kHeight - 1), 0xFF336699u);
  ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(WqControlReadWindowPixels(window_, &pixels, &width, &height));
  ASSERT_EQ(width, kWidth);
  ASSERT_EQ(height, kHeight);
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](auto p) { return p == 0x336699u; }));
}

TEST_F(D3d9DeviceTest, AQuadCoversExactlyItsPixelsAndNeighboursNeitherOverlapNorLeaveSeams) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  DrawQuad(10, 10, 4, 4, kWhite);
  ExpectArea(ReadTarget(), kWidth, RECT{10, 10, 14, 14}, kWhite, kBlack);

  // Added twice, a pixel would show 0x80 instead of 0x40.
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
  device_->SetRenderState(D_D3DRS_SRCBLEND, D_D3DBLEND_ONE);
  device_->SetRenderState(D_D3DRS_DESTBLEND, D_D3DBLEND_ONE);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) DrawQuad(8 + column * 5, 4 + row * 7, 5, 7, 0xFF404040u);
  }
  ExpectArea(ReadTarget(), kWidth, RECT{8, 4, 23, 25}, 0xFF404040u, kBlack);
}

TEST_F(D3d9DeviceTest, FlatShadingTakesTheFirstVertexAndGouraudInterpolates) {
  TexturedVertex triangle[3] = {{0.0f, 0.0f, 0.5f, 1.0f, 0xFFFF0000u, 0, 0},
                                {40.0f, 0.0f, 0.5f, 1.0f, 0xFF00FF00u, 0, 0},
                                {0.0f, 40.0f, 0.5f, 1.0f, 0xFF0000FFu, 0, 0}};
  device_->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  device_->SetRenderState(D_D3DRS_SHADEMODE, D_D3DSHADE_FLAT);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 1, triangle, sizeof triangle[0]);
  EXPECT_EQ(PixelAt(10, 10), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(30, 5), 0xFFFF0000u);

  device_->SetRenderState(D_D3DRS_SHADEMODE, D_D3DSHADE_GOURAUD);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 1, triangle, sizeof triangle[0]);
  std::uint32_t middle = PixelAt(13, 13);
  EXPECT_TRUE(wqtest::ColorsNear(middle, 0xFF555555u, 8)) << std::hex << middle;
}

TEST_F(D3d9DeviceTest, DefaultCullingDropsCounterClockwiseTriangles) {
  // Clockwise on screen (y runs down): drawn.
  TexturedVertex clockwise[3] = {{0.0f, 0.0f, 0.5f, 1.0f, kWhite, 0, 0},
                                 {20.0f, 0.0f, 0.5f, 1.0f, kWhite, 0, 0},
                                 {0.0f, 20.0f, 0.5f, 1.0f, kWhite, 0, 0}};
  TexturedVertex counter[3] = {clockwise[0], clockwise[2], clockwise[1]};
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 1, counter, sizeof counter[0]);
  EXPECT_EQ(PixelAt(3, 3), kBlack);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 1, clockwise, sizeof clockwise[0]);
  EXPECT_EQ(PixelAt(3, 3), kWhite);
  device_->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_CW);
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 1, clockwise, sizeof clockwise[0]);
  EXPECT_EQ(PixelAt(3, 3), kBlack);
}

TEST_F(D3d9DeviceTest, TheViewportClipsDrawsAndClears) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  D_D3DVIEWPORT9 viewport{8, 6, 20, 10, 0.0f, 1.0f};
  ASSERT_EQ(device_->SetViewport(&viewport), D_D3D_OK);
  DrawQuad(0, 0, kWidth, kHeight, kWhite);
  ExpectArea(ReadTarget(), kWidth, RECT{8, 6, 28, 16}, kWhite, kBlack);

  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0);
  ExpectArea(ReadTarget(), kWidth, RECT{8, 6, 28, 16}, 0xFF0000FFu, kBlack);

  // Rectangles are clipped to the viewport too.
  D_D3DRECT rect{0, 0, 12, 12};
  device_->Clear(1, &rect, D_D3DCLEAR_TARGET, kWhite, 1.0f, 0);
  EXPECT_EQ(PixelAt(8, 6), kWhite);
  EXPECT_EQ(PixelAt(11, 11), kWhite);
  EXPECT_EQ(PixelAt(7, 6), kBlack);
  EXPECT_EQ(PixelAt(12, 11), 0xFF0000FFu);

  D_D3DVIEWPORT9 too_large{8, 6, kWidth, 10, 0.0f, 1.0f};
  EXPECT_EQ(device_->SetViewport(&too_large), D_D3DERR_INVALIDCALL);
}

TEST_F(D3d9DeviceTest, TheScissorRectangleClipsOnlyWhileItsTestIsOn) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  RECT scissor{4, 4, 10, 8};
  ASSERT_EQ(device_->SetScissorRect(&scissor), D_D3D_OK);
  DrawQuad(0, 0, 2, 2, kWhite);
  EXPECT_EQ(PixelAt(1, 1), kWhite);
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_SCISSORTESTENABLE, TRUE);
  DrawQuad(0, 0, kWidth, kHeight, 0xFF00FF00u);
  ExpectArea(ReadTarget(), kWidth, RECT{4, 4, 10, 8}, 0xFF00FF00u, kBlack);
}

TEST_F(D3d9DeviceTest, IndexedDrawsUseTheirIndicesAndRefuseOnesBeyondTheVertices) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  TexturedVertex corners[4] = {{1.5f, 1.5f, 0.5f, 1.0f, kWhite, 0, 0},
                               {5.5f, 1.5f, 0.5f, 1.0f, kWhite, 0, 0},
                               {1.5f, 5.5f, 0.5f, 1.0f, kWhite, 0, 0},
                               {5.5f, 5.5f, 0.5f, 1.0f, kWhite, 0, 0}};
  const WORD indices[6] = {0, 1, 2, 2, 1, 3};
  ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLELIST, 0, 4, 2, indices,
                                            D_D3DFMT_INDEX16, corners, sizeof corners[0]),
            D_D3D_OK);
  ExpectArea(ReadTarget(), kWidth, RECT{2, 2, 6, 6}, kWhite, kBlack);
  // The same square as a fan and as an indexed strip.
  const TexturedVertex fan[4] = {corners[0], corners[1], corners[3], corners[2]};
  device_->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLEFAN, 2, fan, sizeof fan[0]), D_D3D_OK);
  ExpectArea(ReadTarget(), kWidth, RECT{2, 2, 6, 6}, kWhite, kBlack);
  const WORD strip[4] = {0, 1, 2, 3};
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  ASSERT_EQ(device_->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 0, 4, 2, strip,
                                            D_D3DFMT_INDEX16, corners, sizeof corners[0]),
            D_D3D_OK);
  ExpectArea(ReadTarget(), kWidth, RECT{2, 2, 6, 6}, kWhite, kBlack);
  const DWORD wide[3] = {0, 1, 4};
  EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLELIST, 0, 4, 1, wide,
                                            D_D3DFMT_INDEX32, corners, sizeof corners[0]),
            D_D3DERR_INVALIDCALL);
}

TEST_F(D3d9DeviceTest, PointsAndLinesLightThePixelsTheyName) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  TexturedVertex point{7.0f, 9.0f, 0.5f, 1.0f, kWhite, 0, 0};
  ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_POINTLIST, 1, &point, sizeof point), D_D3D_OK);
  ExpectArea(ReadTarget(), kWidth, RECT{7, 9, 8, 10}, kWhite, kBlack);

  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  TexturedVertex line[2] = {{2.0f, 20.0f, 0.5f, 1.0f, kWhite, 0, 0},
                            {12.0f, 20.0f, 0.5f, 1.0f, kWhite, 0, 0}};
  ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_LINELIST, 1, line, sizeof line[0]), D_D3D_OK);
  ExpectArea(ReadTarget(), kWidth, RECT{2, 20, 12, 21}, kWhite, kBlack);
}

TEST_F(D3d9DeviceTest, DepthTestingWithADepthBufferLargerThanTheTarget) {
  D_IDirect3DSurface9* depth = nullptr;
  ASSERT_EQ(device_->CreateDepthStencilSurface(128, 64, D_D3DFMT_D16, D_D3DMULTISAMPLE_NONE, 0,
                                               TRUE, &depth, nullptr),
            D_D3D_OK);
  ASSERT_EQ(device_->SetDepthStencilSurface(depth), D_D3D_OK);
  device_->SetRenderState(D_D3DRS_ZENABLE, D_D3DZB_TRUE);
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET | D_D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
  DrawQuad(0, 0, 10, 10, 0xFFFF0000u, 0.2f);
  DrawQuad(0, 0, 20, 20, 0xFF00FF00u);  // at depth 0.5: behind the red one
  EXPECT_EQ(PixelAt(5, 5), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(15, 15), 0xFF00FF00u);
  device_->SetDepthStencilSurface(nullptr);
  EXPECT_EQ(device_->Clear(0, nullptr, D_D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(depth->Release(), 0u);
}

TEST_F(D3d9DeviceTest, DepthBiasIsAFractionOfTheDepthRangeWhateverTheBuffersResolution) {
  // A red quad at depth 0.45, then a green one at 0.5 pulled nearer by the
  // bias: by 0.02 it stays behind the red one, by 0.1 it comes in front.
  struct Case {
    D_D3DFORMAT depth_format;
    float bias;
    D_D3DCOLOR seen;
  };
  const Case cases[] = {
      {D_D3DFMT_D16, -0.02f, 0xFFFF0000u},   {D_D3DFMT_D16, -0.1f, 0xFF00FF00u},
      {D_D3DFMT_D24X8, -0.02f, 0xFFFF0000u}, {D_D3DFMT_D24X8, -0.1f, 0xFF00FF00u},
      {D_D3DFMT_D32, -0.02f, 0xFFFF0000u},   {D_D3DFMT_D32, -0.1f, 0xFF00FF00u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "depth format " << c.depth_format << ", bias " << c.bias);
    D_IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device_->CreateDepthStencilSurface(kWidth, kHeight, c.depth_format,
                                                 D_D3DMULTISAMPLE_NONE, 0, TRUE, &depth, nullptr),
              D_D3D_OK);
    ASSERT_EQ(device_->SetDepthStencilSurface(depth), D_D3D_OK);
    device_->SetRenderState(D_D3DRS_ZENABLE, D_D3DZB_TRUE);
    device_->Clear(0, nullptr, D_D3DCLEAR_TARGET | D_D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
    DrawQuad(0, 0, 10, 10, 0xFFFF0000u, 0.45f);
    device_->SetRenderState(D_D3DRS_DEPTHBIAS, std::bit_cast<DWORD>(c.bias));
    DrawQuad(0, 0, 10, 10, 0xFF00FF00u);
    device_->SetRenderState(D_D3DRS_DEPTHBIAS, 0);
    EXPECT_EQ(PixelAt(5, 5), c.seen);
    device_->SetDepthStencilSurface(nullptr);
    EXPECT_EQ(depth->Release(), 0u);
  }
}

TEST_F(D3d9DeviceTest, UntransformedVerticesGoThroughTheTransformsAndTheViewport) {
  struct Vertex {
    float x, y, z;
    D_D3DCOLOR diffuse;
    float u, v;
  };
  ASSERT_EQ(device_->SetFVF(0x142), D_D3D_OK);
  // The world matrix moves the unit square to the top-left quarter of clip space.
  D_D3DMATRIX world{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-1, 0, 0, 1}}};
  ASSERT_EQ(device_->SetTransform(D_D3DTS_WORLD, &world), D_D3D_OK);
  const Vertex square[4] = {{0, 1, 0.5f, kWhite, 0, 0},
                            {1, 1, 0.5f, kWhite, 0, 0},
                            {0, 0, 0.5f, kWhite, 0, 0},
                            {1, 0, 0.5f, kWhite, 0, 0}};
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, square, sizeof square[0]), D_D3D_OK);
  ExpectArea(ReadTarget(), kWidth, RECT{0, 0, kWidth / 2, kHeight / 2}, kWhite, kBlack);

  // Through a viewport, the same square lands in the viewport's quarter.
  D_D3DVIEWPORT9 viewport{32, 24, 32, 24, 0.0f, 1.0f};
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
  device_->SetViewport(&viewport);
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, square, sizeof square[0]);
  ExpectArea(ReadTarget(), kWidth, RECT{32, 24, 48, 36}, kWhite, kBlack);
}

// One vertex laid out as `fvf` asks, with a normal, specular colour and
// texture coordinates that must be stepped over, not read as the diffuse colour.
void AppendVertex(std::vector<std::uint8_t>* bytes, DWORD fvf, float x, float y,
                  D_D3DCOLOR diffuse) {
  auto put = [&](auto value) {
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
    bytes->insert(bytes->end(), raw, raw + sizeof value);
  };
  for (float value : {x, y, 0.5f}) put(value);
  if (fvf & D_D3DFVF_NORMAL) {
    for (float value : {7.0f, -3.0f, 0.25f}) put(value);
  }
  if (fvf & D_D3DFVF_DIFFUSE) put(diffuse);
  if (fvf & D_D3DFVF_SPECULAR) put(D_D3DCOLOR{0xFF00FF00u});
  for (DWORD set = 0; set < (fvf & D_D3DFVF_TEXCOUNT_MASK) >> D_D3DFVF_TEXCOUNT_SHIFT; ++set) {
    for (float value : {0.75f, 0.25f}) put(value);
  }
}

TEST_F(D3d9DeviceTest, UntransformedVertexFormatsReadTheirDiffuseColourPastTheOtherFields) {
  device_->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  for (DWORD fvf : {0x42u, 0x142u, 0x2D2u}) {
    SCOPED_TRACE(fvf);
    std::vector<std::uint8_t> strip;
    // The left half of clip space, as a strip.
    for (auto [x, y] : {std::pair{-1.0f, 1.0f}, {0.0f, 1.0f}, {-1.0f, -1.0f}, {0.0f, -1.0f}}) {
      AppendVertex(&strip, fvf, x, y, 0xFF4080C0u);
    }
    device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    ASSERT_EQ(device_->SetFVF(fvf), D_D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, strip.data(),
                                       static_cast<UINT>(strip.size() / 4)),
              D_D3D_OK);
    ExpectArea(ReadTarget(), kWidth, RECT{0, 0, kWidth / 2, kHeight}, 0xFF4080C0u, kBlack);
  }
}

TEST_F(D3d9DeviceTest, DrawsRefuseFormatsAndStridesTheyCannotRead) {
  TexturedVertex quad[4] = {};
  device_->SetFVF(D_D3DFVF_DIFFUSE);
  EXPECT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]),
            D_D3DERR_INVALIDCALL);
  device_->SetFVF(wqtest::kTexturedFvf);
  EXPECT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, 8), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, nullptr, sizeof quad[0]),
            D_D3DERR_INVALIDCALL);
  // More primitives than the caps allow would read far past the vertices.
  D_D3DCAPS9 caps = {};
  ASSERT_EQ(device_->GetDeviceCaps(&caps), D_D3D_OK);
  EXPECT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, caps.MaxPrimitiveCount + 1, quad,
                                     sizeof quad[0]),
            D_D3DERR_INVALIDCALL);
  const WORD indices[3] = {0, 1, 2};
  EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLELIST, 0, 4, 0x40000000, indices,
                                            D_D3DFMT_INDEX16, quad, sizeof quad[0]),
            D_D3DERR_INVALIDCALL);
  // So would a vertex range past the caps' highest index, or one wrapping round.
  EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLELIST, 0, caps.MaxVertexIndex + 2, 1,
                                            indices, D_D3DFMT_INDEX16, quad, sizeof quad[0]),
            D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLELIST, 0xFFFFFFFFu, 4, 1, indices,
                                            D_D3DFMT_INDEX16, quad, sizeof quad[0]),
            D_D3DERR_INVALIDCALL);
}

}  // namespace
