// What the per-draw set-up sends to the device: nothing between two
// identical draws, the blend factors of every blend mode with and without
// the reverse-subtract operation, the alpha settings of colour-keyed
// graphs, the subtract emulation, blend graphs, the override block and the
// re-send after a reset.
#include <algorithm>
#include <string>

#include "WqLib.h"
#include "device_draw_fixture.h"
#include "graphics/device_blend_tables.h"
#include "graphics/device_draw_settings.h"
#include "graphics/device_rebuild.h"

namespace {

using wqtest::DeviceDrawTest;

bool IsStateCall(const std::string& call) {
  for (const char* prefix : {"SetRenderState", "SetTextureStageState", "SetSamplerState", "SetTexture",
                             "SetFVF", "SetVertexShader", "SetPixelShader", "SetTransform"})
    if (call.rfind(prefix, 0) == 0) return true;
  return false;
}

TEST_F(DeviceDrawTest, TwoIdenticalDrawsSendNoStateBetweenThem) {
  GraphRecord* graph = MakeGraph(32, 32, 32, 32);
  // A graph cut from a bigger picture, whose piece lies in the image's
  // second texture.
  GraphRecord* cut = MakeGraph(32, 32, 32, 32);
  wqtest::StubTexture other;
  GraphTextureEntry entries[2] = {*cut->pieces[0].entry, *cut->pieces[0].entry};
  entries[0].texture = &other;
  cut->image->entries = entries;
  cut->image->entryCount = 2;
  cut->pieces[0].entry = &entries[1];
  SetBlendMode(1, 128);
  SetDrawBrightness(200, 100, 50);
  for (GraphRecord* g : {graph, cut}) {
    ASSERT_EQ(G_D3D_DrawGraph(g, 10, 10, 10.0f, 10.0f, 1, 1), 0);
    EXPECT_GT(std::count_if(device_.calls.begin(), device_.calls.end(), IsStateCall), 0);
    device_.calls.clear();
    ASSERT_EQ(G_D3D_DrawGraph(g, 50, 10, 50.0f, 10.0f, 1, 1), 0);
    ASSERT_EQ(G_D3D_DrawGraphRotated(g, 100.0f, 100.0f, 1.0, 0.3, 1, 0), 0);
    EXPECT_EQ(device_.calls, std::vector<std::string>{});
    EXPECT_EQ(Batch().count, 18);
    FlushVertexBatch();
  }
  // A draw in another state flushes the quads first.
  ASSERT_EQ(G_D3D_DrawGraph(graph, 50, 10, 50.0f, 10.0f, 1, 1), 0);
  device_.calls.clear();
  SetBlendMode(2, 128);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 50, 10, 50.0f, 10.0f, 1, 1), 0);
  const auto first = std::find_if(device_.calls.begin(), device_.calls.end(),
                                  [](const std::string& call) { return call.rfind("SetFVF", 0) != 0; });
  ASSERT_NE(first, device_.calls.end());
  EXPECT_EQ(*first, "DrawPrimitiveUP 4 2");
}

struct BlendExpectation {
  DWORD blends;
  DWORD src, dest, op;
};

TEST_F(DeviceDrawTest, EveryBlendModeSendsItsFactorsAndOperation) {
  constexpr DWORD kSrcAlpha = D_D3DBLEND_SRCALPHA, kInvSrcAlpha = D_D3DBLEND_INVSRCALPHA, kOne = D_D3DBLEND_ONE,
                  kZero = D_D3DBLEND_ZERO, kSrcColor = D_D3DBLEND_SRCCOLOR, kInvDest = D_D3DBLEND_INVDESTCOLOR,
                  kAdd = D_D3DBLENDOP_ADD, kRevSub = D_D3DBLENDOP_REVSUBTRACT;
  // Rows for modes 0..14; blending off leaves the factors as they were.
  const BlendExpectation rows[15] = {
      {FALSE, 0, 0, 0},
      {TRUE, kSrcAlpha, kInvSrcAlpha, kAdd},
      {TRUE, kSrcAlpha, kOne, kAdd},
      {TRUE, kInvDest, kZero, kAdd},  // without reverse-subtract
      {TRUE, kZero, kSrcColor, kAdd},
      {TRUE, kSrcAlpha, kOne, kAdd},
      {FALSE, 0, 0, 0},
      {FALSE, 0, 0, 0},
      {TRUE, kZero, kOne, kAdd},
      {TRUE, kInvDest, kZero, kAdd},
      {TRUE, kSrcAlpha, kInvSrcAlpha, kAdd},
      {TRUE, kZero, kSrcColor, kAdd},
      {TRUE, kSrcAlpha, kInvSrcAlpha, kAdd},
      {TRUE, kSrcAlpha, kOne, kAdd},
      {TRUE, kSrcAlpha, kOne, kRevSub},
  };
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  for (int native = 0; native <= 1; ++native) {
    Graphics().subtractBlendNative = native;
    for (int mode = 0; mode < 15; ++mode) {
      SCOPED_TRACE(native * 100 + mode);
      BlendExpectation expected = rows[mode];
      if (mode == 3 && native) expected = {TRUE, kSrcAlpha, kOne, kRevSub};
      for (bool textured : {true, false}) {
        SetBlendMode(mode == 0 ? 1 : 0, 0);  // change the mode so the set-up runs
        SetBlendMode(mode, 200);
        if (textured)
          ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
        else
          ASSERT_EQ(G_D3D_DrawBox(0, 0, 4, 4, 0), 0);
        EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHABLENDENABLE], expected.blends);
        if (!expected.blends) continue;
        EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], expected.src);
        EXPECT_EQ(device_.renderStates[D_D3DRS_DESTBLEND], expected.dest);
        EXPECT_EQ(device_.renderStates[D_D3DRS_BLENDOP], expected.op);
      }
    }
  }
}

TEST_F(DeviceDrawTest, StageVariantsShapeTheGraphsColour) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  SetBlendMode(10, 255);  // inverted texture colour
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(Stage(0, D_D3DTSS_COLORARG1), D_D3DTA_TEXTURE | D_D3DTA_COMPLEMENT);
  EXPECT_EQ(Stage(1, D_D3DTSS_COLOROP), static_cast<DWORD>(D_D3DTOP_DISABLE));
  SetBlendMode(11, 255);  // multiply fading to white with alpha
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(Stage(1, D_D3DTSS_COLOROP), static_cast<DWORD>(D_D3DTOP_BLENDCURRENTALPHA));
  EXPECT_EQ(Stage(2, D_D3DTSS_COLOROP), static_cast<DWORD>(D_D3DTOP_DISABLE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_TEXTUREFACTOR], 0xFFFFFFFFu);
  // Modes 12 and 13 tinted read blocks of their own.
  SetDrawBrightness(10, 20, 30);
  SetBlendMode(13, 255);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(Stage(0, D_D3DTSS_COLOROP), static_cast<DWORD>(D_D3DTOP_MODULATE4X));
  EXPECT_EQ(Stage(1, D_D3DTSS_COLOROP), static_cast<DWORD>(D_D3DTOP_DISABLE));
}

TEST_F(DeviceDrawTest, ColourKeyedGraphsBlendTheirEdgesOnlyWhenFilteredWithoutIntegerPlacement) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  graph->image->alphaTest = 1;
  DrawMode = 1;
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 1, 0), 0);
  EXPECT_EQ(DeviceCache().blendAlphaTest, 1);
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHABLENDENABLE], static_cast<DWORD>(TRUE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_SRCALPHA));
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 1, 1), 0);
  EXPECT_EQ(DeviceCache().blendAlphaTest, 2);
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHABLENDENABLE], static_cast<DWORD>(FALSE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHATESTENABLE], static_cast<DWORD>(TRUE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHAREF], 16u);
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHAFUNC], static_cast<DWORD>(D_D3DCMP_GREATER));
  // Without transparency the key is ignored and the graph is opaque.
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHATESTENABLE], static_cast<DWORD>(FALSE));
  EXPECT_EQ(Stage(0, D_D3DTSS_ALPHAARG1), D_D3DTA_DIFFUSE);
  DrawMode = 0;
}

TEST_F(DeviceDrawTest, SubtractEmulationInvertsTwiceAndRestoresTheCallersState) {
  SetBlendMode(3, 100);
  SetDrawBrightness(128, 64, 32);
  const std::uint32_t bright = DrawBright;
  const RECT rect{10, 10, 50, 50};
  BeginSubtractBlendEmulation(&rect);
  EXPECT_EQ(BlendMode, 5u);
  EXPECT_EQ(BlendParam, 100u);
  EXPECT_EQ(DrawBright, bright);
  EndSubtractBlendEmulation(&rect);
  EXPECT_EQ(BlendMode, 3u);
  EXPECT_EQ(BlendParam, 100u);
  EXPECT_EQ(DrawBright, bright);
  // Both white boxes, untinted and opaque, in source x inverted destination.
  ASSERT_EQ(Batch().count, 12);
  ASSERT_EQ(Batch().format, 0);
  for (int vertex : {0, 3, 6, 9}) {
    std::uint32_t color;
    const float field = BatchFloat(vertex, 4);
    std::memcpy(&color, &field, 4);
    EXPECT_EQ(color, 0xFFFFFFFFu);
  }
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_INVDESTCOLOR));
  EXPECT_EQ(device_.renderStates[D_D3DRS_DESTBLEND], static_cast<DWORD>(D_D3DBLEND_ZERO));
}

TEST_F(DeviceDrawTest, BlendGraphWithBorderParameter255DrawsNothing) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  wqtest::StubTexture blend;
  SetStubBlendGraph(&blend, 16.0f);
  BlendBorderParam = 255;
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(Batch().format, 2);
  EXPECT_EQ(device_.textures[0], &blend);
  EXPECT_NE(device_.textures[2], nullptr);
  FlushVertexBatch();
  EXPECT_TRUE(device_.draws.empty());
  // Lowering the parameter draws again.
  BlendBorderParam = 100;
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  FlushVertexBatch();
  ASSERT_EQ(device_.draws.size(), 1u);
  EXPECT_EQ(device_.draws[0].stride, 40u);
}

// The blend graph's threshold follows the border parameter: a hard edge by
// the alpha test for ranges up to 1, else a texture-factor offset that
// moves from "all drawn" at 0 to "none drawn" near 255.
TEST(BlendGraphThresholdTest, ThresholdMovesWithTheBorderParameter) {
  const BlendGraphThreshold hard = DeriveBlendGraphThreshold(100, 1);
  EXPECT_FALSE(hard.soft);
  EXPECT_EQ(hard.textureFactor >> 24, 0u);
  for (std::uint32_t range : {2u, 64u, 65u, 128u, 129u, 255u}) {
    SCOPED_TRACE(range);
    std::uint32_t previous = 256;
    for (std::uint32_t p = 0; p < 255; p += 15) {
      const BlendGraphThreshold t = DeriveBlendGraphThreshold(p, range);
      EXPECT_TRUE(t.soft);
      const std::uint32_t offset = t.textureFactor >> 24;
      EXPECT_LE(offset, previous);
      previous = offset;
    }
    EXPECT_EQ(DeriveBlendGraphThreshold(0, range).textureFactor >> 24, 255u);
    EXPECT_EQ(DeriveBlendGraphThreshold(254, range).textureFactor >> 24, 0u);
  }
  EXPECT_EQ(DeriveBlendGraphThreshold(0, 255).scaleOp, D_D3DTOP_SELECTARG1);
  EXPECT_EQ(DeriveBlendGraphThreshold(0, 100).scaleOp, D_D3DTOP_MODULATE2X);
  EXPECT_EQ(DeriveBlendGraphThreshold(0, 64).scaleOp, D_D3DTOP_MODULATE4X);
}

TEST_F(DeviceDrawTest, OverrideBlockReplacesTheRenderStateUntilRemoved) {
  wqtest::StubTexture texture;
  DrawStateBlock block{};
  for (std::uint32_t& value : block.blendRender) value = kLeaveState;
  block.blendRender[kRenderSrcBlend] = D_D3DBLEND_DESTCOLOR;
  block.stageCount = 1;
  block.stages[0].texture = reinterpret_cast<std::uintptr_t>(&texture);
  block.stages[0].setup = {0, -1, kLeaveOp, kLeaveOp, D_D3DTOP_SELECTARG1, D_D3DTA_TFACTOR, kLeaveOp, D_D3DTOP_SELECTARG1};
  ApplyDrawStateFromBlock(&block, 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_DESTCOLOR));
  EXPECT_EQ(device_.textures[0], &texture);
  EXPECT_EQ(DeviceCache().blendStateDirty, 1);
  // The next draw sets its own state again.
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  SetBlendMode(1, 255);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_SRCALPHA));
  // Installed, it holds for every draw until it is removed.
  EXPECT_EQ(SetOverrideDrawState(&block, 0), 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_DESTCOLOR));
  SetBlendMode(2, 255);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_DESTCOLOR));
  EXPECT_EQ(SetOverrideDrawState(nullptr, 0), 0);
  SetBlendMode(4, 255);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_ZERO));
}

TEST_F(DeviceDrawTest, ReappliedStateSendsSamplersStagesAndBlendStateAgain) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  SetBlendMode(1, 255);
  ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 0, 1), 0);
  FlushVertexBatch();
  device_.calls.clear();
  device_.renderStates.clear();
  device_.stageStates.clear();
  ReapplyDeviceState();
  EXPECT_EQ(device_.Count("SetSamplerState 0 1"), 1);  // address U of stage 0
  EXPECT_EQ(Stage(1, D_D3DTSS_TEXCOORDINDEX), 1u);
  EXPECT_EQ(device_.renderStates[D_D3DRS_SRCBLEND], static_cast<DWORD>(D_D3DBLEND_SRCALPHA));
  EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHABLENDENABLE], static_cast<DWORD>(TRUE));
  EXPECT_EQ(Stage(0, D_D3DTSS_COLOROP), static_cast<DWORD>(D_D3DTOP_SELECTARG1));
  EXPECT_EQ(device_.renderStates[D_D3DRS_CULLMODE], static_cast<DWORD>(D_D3DCULL_NONE));
}

TEST_F(DeviceDrawTest, RenderTargetIsSentOnceWithAViewportOverTheSurface) {
  wqtest::StubSurface surface(300, 200);
  EXPECT_EQ(SetDeviceRenderTarget(&surface), 0);
  EXPECT_EQ(SetDeviceRenderTarget(&surface), 0);
  EXPECT_EQ(device_.Count("SetRenderTarget"), 1);
  EXPECT_EQ(device_.Count("SetViewport 0 0 300 200"), 1);
  DeviceStateResend = 1;
  EXPECT_EQ(SetDeviceRenderTarget(&surface), 0);
  DeviceStateResend = 0;
  EXPECT_EQ(device_.Count("SetRenderTarget"), 2);
}

TEST_F(DeviceDrawTest, DrawStateFlagsSwitchLightingShadingZFogAndAddressing) {
  DeviceDrawSettings& settings = DrawSettings();
  const DeviceDrawSettings saved = settings;
  settings.z[1] = {1, 1, D_D3DCMP_LESS, 0, D_D3DFILL_SOLID};
  settings.fogEnable = 1;
  settings.addressU[5] = D_D3DTADDRESS_WRAP;
  SetupDeviceDrawState(nullptr, nullptr,
                       kDrawStateLighting | kDrawStateSpecular | kDrawStateGouraud | kDrawStateSecondZ |
                           kDrawStateFog | kDrawStateStoredAddressModes);
  EXPECT_EQ(device_.renderStates[D_D3DRS_LIGHTING], static_cast<DWORD>(TRUE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_SPECULARENABLE], static_cast<DWORD>(TRUE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_SHADEMODE], static_cast<DWORD>(D_D3DSHADE_GOURAUD));
  EXPECT_EQ(device_.renderStates[D_D3DRS_ZENABLE], static_cast<DWORD>(TRUE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_ZFUNC], static_cast<DWORD>(D_D3DCMP_LESS));
  EXPECT_EQ(device_.renderStates[D_D3DRS_FOGENABLE], static_cast<DWORD>(TRUE));
  EXPECT_EQ(device_.Count("SetSamplerState 5 1 1"), 1);  // stage 5 address U: wrap
  // A 2D draw puts everything back.
  SetupDeviceDrawState(nullptr, nullptr, 0);
  EXPECT_EQ(device_.renderStates[D_D3DRS_LIGHTING], static_cast<DWORD>(FALSE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_SPECULARENABLE], static_cast<DWORD>(FALSE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_SHADEMODE], static_cast<DWORD>(D_D3DSHADE_FLAT));
  EXPECT_EQ(device_.renderStates[D_D3DRS_ZENABLE], static_cast<DWORD>(FALSE));
  EXPECT_EQ(device_.renderStates[D_D3DRS_FOGENABLE], static_cast<DWORD>(FALSE));
  settings = saved;
}

TEST_F(DeviceDrawTest, HardBlendGraphEdgeIsAnAlphaTestWithoutBlending) {
  GraphRecord* graph = MakeGraph(16, 16, 16, 16);
  graph->image->alphaTest = 1;
  wqtest::StubTexture blend;
  SetStubBlendGraph(&blend, 16.0f);
  SetBlendMode(1, 255);
  struct {
    std::uint32_t param, range;
    DWORD blends, test, reference;
  } cases[] = {
      {0, 0, FALSE, TRUE, 1},  // the graph's transparent texels still drop out
      {90, 1, FALSE, TRUE, 90},
      {90, 2, TRUE, FALSE, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range * 1000 + c.param);
    BlendBorderParam = c.param;
    BlendBorderRange = c.range;
    ASSERT_EQ(G_D3D_DrawGraph(graph, 0, 0, 0.0f, 0.0f, 1, 1), 0);
    EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHABLENDENABLE], c.blends);
    EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHATESTENABLE], c.test);
    if (c.test) {
      EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHAREF], c.reference);
      EXPECT_EQ(device_.renderStates[D_D3DRS_ALPHAFUNC], static_cast<DWORD>(D_D3DCMP_GREATEREQUAL));
    }
  }
  SetPendingBlendTexture(nullptr, -1, -1);
}

}  // namespace
