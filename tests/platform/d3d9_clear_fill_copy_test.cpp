// Clear's count and rectangles, and which surfaces ColorFill and StretchRect
// take, as Direct3D answers them.
#include <gtest/gtest.h>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9DeviceTest;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

struct ClearCase {
  const char* name;
  DWORD count;
  std::vector<D_D3DRECT> rects;  // empty: a null pointer
  std::vector<RECT> cleared;     // the areas that turn blue
};

const ClearCase kClearCases[] = {
    {"no count, no rectangles: the viewport", 0, {}, {{0, 0, 64, 48}}},
    {"rectangles without a count: nothing", 0, {{4, 4, 8, 8}}, {}},
    {"a count without rectangles: the viewport", 1, {}, {{0, 0, 64, 48}}},
    {"one rectangle", 1, {{4, 4, 8, 8}}, {{4, 4, 8, 8}}},
    {"two rectangles", 2, {{0, 0, 2, 2}, {60, 44, 64, 48}}, {{0, 0, 2, 2}, {60, 44, 64, 48}}},
    {"the count limits the rectangles read", 1, {{0, 0, 2, 2}, {60, 44, 64, 48}}, {{0, 0, 2, 2}}},
    {"a rectangle past the edge is clipped", 1, {{60, 40, 70, 50}}, {{60, 40, 64, 48}}},
    {"an inverted rectangle is empty", 1, {{8, 8, 4, 4}}, {}},
};

bool Inside(const std::vector<RECT>& areas, int x, int y) {
  for (const RECT& area : areas) {
    if (x >= area.left && x < area.right && y >= area.top && y < area.bottom) return true;
  }
  return false;
}

TEST_F(D3d9DeviceTest, ClearTakesItsCountAndRectanglesAsDirect3DDoes) {
  for (const ClearCase& c : kClearCases) {
    device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kRed, 1.0f, 0);
    EXPECT_EQ(device_->Clear(c.count, c.rects.empty() ? nullptr : c.rects.data(),
                             D_D3DCLEAR_TARGET, kBlue, 1.0f, 0),
              D_D3D_OK)
        << c.name;
    std::vector<std::uint32_t> pixels = ReadTarget();
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        wrong += pixels[y * kWidth + x] != (Inside(c.cleared, x, y) ? kBlue : kRed);
      }
    }
    EXPECT_EQ(wrong, 0) << c.name;
  }
}

TEST_F(D3d9DeviceTest, ClearStaysInTheViewportAndRefusesBuffersTheTargetLacks) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, kRed, 1.0f, 0);
  D_D3DVIEWPORT9 viewport{8, 8, 8, 8, 0.0f, 1.0f};
  device_->SetViewport(&viewport);
  D_D3DRECT whole{0, 0, kWidth, kHeight};
  device_->Clear(1, &whole, D_D3DCLEAR_TARGET, kBlue, 1.0f, 0);
  EXPECT_EQ(PixelAt(8, 8), kBlue);
  EXPECT_EQ(PixelAt(15, 15), kBlue);
  EXPECT_EQ(PixelAt(16, 16), kRed);
  EXPECT_EQ(PixelAt(7, 8), kRed);
  // No depth buffer, and no stencil format at all.
  EXPECT_EQ(device_->Clear(0, nullptr, D_D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->Clear(0, nullptr, D_D3DCLEAR_STENCIL, 0, 1.0f, 0), D_D3DERR_INVALIDCALL);
}

// The surfaces copies and fills are tried on.
enum SurfaceKind {
  kRenderTarget,
  kRenderTargetTexture,
  kDefaultTexture,   // default pool, no render-target usage
  kManagedTexture,
  kSystemTexture,
  kDefaultPlain,     // offscreen plain surfaces
  kSystemPlain,
  kScratchPlain,
  kDepthStencil,
  kSurfaceKinds
};

constexpr const char* kKindNames[kSurfaceKinds] = {
    "render target", "render-target texture", "default texture", "managed texture",
    "system-memory texture", "default plain", "system-memory plain", "scratch plain",
    "depth stencil"};

class D3d9SurfaceKindTest : public D3d9DeviceTest {
 protected:
  void TearDown() override {
    for (D_IDirect3DSurface9* surface : surfaces_) surface->Release();
    D3d9DeviceTest::TearDown();
  }

  // A 16 x 16 X8R8G8B8 surface of the kind, held until the test ends.
  D_IDirect3DSurface9* Make(SurfaceKind kind) {
    D_IDirect3DSurface9* surface = nullptr;
    auto level0 = [&](DWORD usage, D_D3DPOOL pool) {
      D_IDirect3DTexture9* texture = nullptr;
      EXPECT_EQ(device_->CreateTexture(16, 16, 1, usage, D_D3DFMT_X8R8G8B8, pool, &texture, nullptr),
                D_D3D_OK);
      texture->GetSurfaceLevel(0, &surface);
      texture->Release();
    };
    auto plain = [&](D_D3DPOOL pool) {
      EXPECT_EQ(device_->CreateOffscreenPlainSurface(16, 16, D_D3DFMT_X8R8G8B8, pool, &surface, nullptr),
                D_D3D_OK);
    };
    switch (kind) {
      case kRenderTarget:
        device_->CreateRenderTarget(16, 16, D_D3DFMT_X8R8G8B8, D_D3DMULTISAMPLE_NONE, 0, TRUE,
                                    &surface, nullptr);
        break;
      case kRenderTargetTexture: level0(D_D3DUSAGE_RENDERTARGET, D_D3DPOOL_DEFAULT); break;
      case kDefaultTexture: level0(0, D_D3DPOOL_DEFAULT); break;
      case kManagedTexture: level0(0, D_D3DPOOL_MANAGED); break;
      case kSystemTexture: level0(0, D_D3DPOOL_SYSTEMMEM); break;
      case kDefaultPlain: plain(D_D3DPOOL_DEFAULT); break;
      case kSystemPlain: plain(D_D3DPOOL_SYSTEMMEM); break;
      case kScratchPlain: plain(D_D3DPOOL_SCRATCH); break;
      default:
        device_->CreateDepthStencilSurface(16, 16, D_D3DFMT_D16, D_D3DMULTISAMPLE_NONE, 0, FALSE,
                                           &surface, nullptr);
        break;
    }
    EXPECT_NE(surface, nullptr) << kKindNames[kind];
    if (surface) surfaces_.push_back(surface);
    return surface;
  }

  std::vector<D_IDirect3DSurface9*> surfaces_;
};

TEST_F(D3d9SurfaceKindTest, ColorFillTakesOnlyDefaultPoolSurfacesAndRenderTargetTextures) {
  const bool fills[kSurfaceKinds] = {true, true, false, false, false, true, false, false, false};
  for (int kind = 0; kind < kSurfaceKinds; ++kind) {
    D_IDirect3DSurface9* surface = Make(static_cast<SurfaceKind>(kind));
    RECT area{2, 2, 6, 6};
    EXPECT_EQ(device_->ColorFill(surface, &area, kBlue), fills[kind] ? D_D3D_OK : D_D3DERR_INVALIDCALL)
        << kKindNames[kind];
    if (!fills[kind]) continue;
    std::vector<std::uint32_t> pixels = ReadTarget(surface);
    EXPECT_EQ(pixels[2 * 16 + 2], kBlue) << kKindNames[kind];
    EXPECT_EQ(pixels[5 * 16 + 5], kBlue) << kKindNames[kind];
    EXPECT_NE(pixels[6 * 16 + 6], kBlue) << kKindNames[kind];
  }
}

TEST_F(D3d9SurfaceKindTest, StretchRectRefusesTheSourcesAndDestinationsDirect3DRefuses) {
  // Rows: sources; columns: destinations, both in SurfaceKind order. Only
  // default-pool colour surfaces take part; into plain textures never, into
  // plain offscreen surfaces only from another such surface.
  const bool copies[kSurfaceKinds][kSurfaceKinds] = {
      {true, true, false, false, false, false, false, false, false},  // render target
      {true, true, false, false, false, false, false, false, false},  // render-target texture
      {true, true, false, false, false, false, false, false, false},  // default texture
      {},                                                             // managed texture
      {},                                                             // system-memory texture
      {true, true, false, false, false, true, false, false, false},   // default plain
      {}, {}, {},
  };
  for (int from = 0; from < kSurfaceKinds; ++from) {
    D_IDirect3DSurface9* source = Make(static_cast<SurfaceKind>(from));
    for (int to = 0; to < kSurfaceKinds; ++to) {
      D_IDirect3DSurface9* dest = Make(static_cast<SurfaceKind>(to));
      EXPECT_EQ(device_->StretchRect(source, nullptr, dest, nullptr, D_D3DTEXF_NONE),
                copies[from][to] ? D_D3D_OK : D_D3DERR_INVALIDCALL)
          << kKindNames[from] << " into " << kKindNames[to];
    }
  }
  // Between plain surfaces the sizes must match: no stretching.
  D_IDirect3DSurface9* source = Make(kDefaultPlain);
  D_IDirect3DSurface9* dest = Make(kDefaultPlain);
  RECT small{0, 0, 8, 8};
  EXPECT_EQ(device_->StretchRect(source, &small, dest, &small, D_D3DTEXF_NONE), D_D3D_OK);
  RECT large{0, 0, 16, 16};
  EXPECT_EQ(device_->StretchRect(source, &small, dest, &large, D_D3DTEXF_NONE), D_D3DERR_INVALIDCALL);
  // Into a render target it may stretch.
  EXPECT_EQ(device_->StretchRect(source, &small, Make(kRenderTarget), &large, D_D3DTEXF_LINEAR),
            D_D3D_OK);
}

}  // namespace
