// Blend factors and operations, and the alpha test, against the formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9DeviceTest;

struct Rgba {
  double r, g, b, a;
};

Rgba Unpack(std::uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
          (argb >> 24) / 255.0};
}

std::uint32_t Pack(Rgba c) {
  auto byte = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

// One channel's blend factor; `alpha` selects the alpha channel's.
double Factor(DWORD blend, double s, double d, double sa, double da, bool alpha) {
  switch (blend) {
    case D_D3DBLEND_ZERO: return 0;
    case D_D3DBLEND_ONE: return 1;
    case D_D3DBLEND_SRCCOLOR: return s;
    case D_D3DBLEND_INVSRCCOLOR: return 1 - s;
    case D_D3DBLEND_SRCALPHA: return sa;
    case D_D3DBLEND_INVSRCALPHA: return 1 - sa;
    case D_D3DBLEND_DESTALPHA: return da;
    case D_D3DBLEND_INVDESTALPHA: return 1 - da;
    case D_D3DBLEND_DESTCOLOR: return d;
    case D_D3DBLEND_INVDESTCOLOR: return 1 - d;
    default: return alpha ? 1 : std::min(sa, 1 - da);  // SRCALPHASAT
  }
}

double Combine(DWORD op, double s, double fs, double d, double fd) {
  switch (op) {
    case D_D3DBLENDOP_SUBTRACT: return s * fs - d * fd;
    case D_D3DBLENDOP_REVSUBTRACT: return d * fd - s * fs;
    case D_D3DBLENDOP_MIN: return std::min(s, d);
    case D_D3DBLENDOP_MAX: return std::max(s, d);
    default: return s * fs + d * fd;
  }
}

std::uint32_t ExpectedBlend(DWORD source_blend, DWORD dest_blend, DWORD op, std::uint32_t source,
                            std::uint32_t dest) {
  if (source_blend == D_D3DBLEND_BOTHSRCALPHA) {
    source_blend = D_D3DBLEND_SRCALPHA;
    dest_blend = D_D3DBLEND_INVSRCALPHA;
  } else if (source_blend == D_D3DBLEND_BOTHINVSRCALPHA) {
    source_blend = D_D3DBLEND_INVSRCALPHA;
    dest_blend = D_D3DBLEND_SRCALPHA;
  }
  Rgba s = Unpack(source), d = Unpack(dest);
  auto channel = [&](double sc, double dc, bool alpha) {
    return Combine(op, sc, Factor(source_blend, sc, dc, s.a, d.a, alpha), dc,
                   Factor(dest_blend, sc, dc, s.a, d.a, alpha));
  };
  return Pack({channel(s.r, d.r, false), channel(s.g, d.g, false), channel(s.b, d.b, false),
               channel(s.a, d.a, true)});
}

struct BlendCase {
  DWORD source, dest, op;
};

std::vector<BlendCase> BlendCases() {
  std::vector<BlendCase> cases;
  for (DWORD source = D_D3DBLEND_ZERO; source <= D_D3DBLEND_BOTHINVSRCALPHA; ++source) {
    cases.push_back({source, D_D3DBLEND_INVSRCALPHA, D_D3DBLENDOP_ADD});
  }
  for (DWORD dest = D_D3DBLEND_ZERO; dest <= D_D3DBLEND_SRCALPHASAT - 1; ++dest) {
    cases.push_back({D_D3DBLEND_SRCALPHA, dest, D_D3DBLENDOP_ADD});
  }
  for (DWORD op = D_D3DBLENDOP_ADD; op <= D_D3DBLENDOP_MAX; ++op) {
    cases.push_back({D_D3DBLEND_SRCALPHA, D_D3DBLEND_ONE, op});
    cases.push_back({D_D3DBLEND_ONE, D_D3DBLEND_DESTCOLOR, op});
  }
  return cases;
}

class D3d9BlendTest : public D3d9DeviceTest {
 protected:
  // Draws every case into its own 2 x 2 cell of `target` over `dest` and
  // checks each cell against the formula.
  // `dest_as_read` is what blending sees of `dest`; an X target keeps no
  // alpha and reads back 0xFF.
  void CheckCases(D_IDirect3DSurface9* target, std::uint32_t dest, std::uint32_t source,
                  std::uint32_t dest_as_read, bool keeps_alpha) {
    ASSERT_EQ(device_->SetRenderTarget(0, target), D_D3D_OK);
    device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, dest, 1.0f, 0);
    device_->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
    // Without a texture the default stage reads alpha 1; take the vertex's.
    device_->SetTextureStageState(0, D_D3DTSS_ALPHAARG1, D_D3DTA_DIFFUSE);
    std::vector<BlendCase> cases = BlendCases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
      device_->SetRenderState(D_D3DRS_SRCBLEND, cases[i].source);
      device_->SetRenderState(D_D3DRS_DESTBLEND, cases[i].dest);
      device_->SetRenderState(D_D3DRS_BLENDOP, cases[i].op);
      DrawQuad(static_cast<int>(i % 16) * 2, static_cast<int>(i / 16) * 2, 2, 2, source);
    }
    std::vector<std::uint32_t> pixels = ReadTarget(target);
    for (std::size_t i = 0; i < cases.size(); ++i) {
      std::uint32_t expected =
          ExpectedBlend(cases[i].source, cases[i].dest, cases[i].op, source, dest_as_read) |
          (keeps_alpha ? 0u : 0xFF000000u);
      std::uint32_t actual = pixels[(i / 16) * 2 * kWidth + (i % 16) * 2];
      EXPECT_TRUE(wqtest::ColorsNear(actual, expected, 1))
          << "src " << cases[i].source << " dest " << cases[i].dest << " op " << cases[i].op
          << std::hex << ": got " << actual << " expected " << expected;
    }
  }
};

TEST_F(D3d9BlendTest, EveryFactorAndOperationOnATargetWithAlpha) {
  D_IDirect3DSurface9* target = nullptr;
  ASSERT_EQ(device_->CreateRenderTarget(kWidth, kHeight, D_D3DFMT_A8R8G8B8, D_D3DMULTISAMPLE_NONE,
                                        0, FALSE, &target, nullptr),
            D_D3D_OK);
  CheckCases(target, 0x60A04020u, 0x9020C0F0u, 0x60A04020u, true);
  target->Release();
}

TEST_F(D3d9BlendTest, AnXTargetReadsAlphaAsOneWhenBlendedAgainst) {
  D_IDirect3DSurface9* back_buffer = nullptr;
  ASSERT_EQ(device_->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &back_buffer), D_D3D_OK);
  // The clear's alpha is not kept: blending sees 0xFF.
  CheckCases(back_buffer, 0x20A04020u, 0x9020C0F0u, 0xFFA04020u, false);
  back_buffer->Release();
}

struct AlphaTestCase {
  DWORD function;
  DWORD reference;
  std::uint32_t alpha;
  bool drawn;
};

TEST_F(D3d9DeviceTest, AlphaTestComparesTheRoundedAlphaWithTheReference) {
  const AlphaTestCase cases[] = {
      {D_D3DCMP_NEVER, 0x00, 0xFF, false},     {D_D3DCMP_LESS, 0x80, 0x7F, true},
      {D_D3DCMP_LESS, 0x80, 0x80, false},      {D_D3DCMP_EQUAL, 0x80, 0x80, true},
      {D_D3DCMP_EQUAL, 0x80, 0x81, false},     {D_D3DCMP_LESSEQUAL, 0x80, 0x80, true},
      {D_D3DCMP_LESSEQUAL, 0x80, 0x81, false}, {D_D3DCMP_GREATER, 0x80, 0x81, true},
      {D_D3DCMP_GREATER, 0x80, 0x80, false},   {D_D3DCMP_NOTEQUAL, 0x80, 0x80, false},
      {D_D3DCMP_NOTEQUAL, 0x00, 0x01, true},   {D_D3DCMP_GREATEREQUAL, 0x01, 0x01, true},
      {D_D3DCMP_GREATEREQUAL, 0x01, 0x00, false}, {D_D3DCMP_ALWAYS, 0xFF, 0x00, true},
  };
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_ALPHATESTENABLE, TRUE);
  // Alpha from the vertex colour alone, so that it reaches the test.
  device_->SetTextureStageState(0, D_D3DTSS_ALPHAOP, D_D3DTOP_SELECTARG1);
  device_->SetTextureStageState(0, D_D3DTSS_ALPHAARG1, D_D3DTA_DIFFUSE);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    device_->SetRenderState(D_D3DRS_ALPHAFUNC, cases[i].function);
    device_->SetRenderState(D_D3DRS_ALPHAREF, cases[i].reference);
    DrawQuad(static_cast<int>(i) * 2, 0, 2, 2, cases[i].alpha << 24 | 0xFFFFFFu);
  }
  std::vector<std::uint32_t> pixels = ReadTarget();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(pixels[i * 2], cases[i].drawn ? 0xFFFFFFFFu : 0xFF000000u)
        << "function " << cases[i].function << " reference " << cases[i].reference << " alpha "
        << cases[i].alpha;
  }
}

}  // namespace
