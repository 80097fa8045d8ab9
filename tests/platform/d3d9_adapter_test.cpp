// The Direct3D object, device creation and the controls that make them fail.
#include <gtest/gtest.h>

#include <vector>

#include "d3d9_test_support.h"
#include "platform/control.h"
#include "platform/windows.h"

namespace {

using wqtest::D3d9DeviceTest;
using Direct3DCreate9Function = D_IDirect3D9* (*)(UINT);

TEST(D3d9AdapterTest, TheModuleExportsDirect3DCreate9AndTheAdapterDescribesItself) {
  HMODULE module = LoadLibraryA("d3d9.dll");
  ASSERT_NE(module, nullptr);
  auto create = reinterpret_cast<Direct3DCreate9Function>(GetProcAddress(module, "Direct3DCreate9"));
  ASSERT_NE(create, nullptr);
  EXPECT_EQ(GetProcAddress(module, "Direct3DCreate9Ex"), nullptr);
  EXPECT_EQ(create(31), nullptr);
  D_IDirect3D9* direct3d = create(D_D3D_SDK_VERSION);
  ASSERT_NE(direct3d, nullptr);

  D_D3DCAPS9 caps{};
  ASSERT_EQ(direct3d->GetDeviceCaps(0, D_D3DDEVTYPE_HAL, &caps), D_D3D_OK);
  EXPECT_EQ(caps.VertexShaderVersion & 0xFFFF, 0u);
  EXPECT_EQ(caps.PixelShaderVersion & 0xFFFF, 0u);
  EXPECT_TRUE(caps.PrimitiveMiscCaps & D_D3DPMISCCAPS_BLENDOP);
  EXPECT_TRUE(caps.PrimitiveMiscCaps & D_D3DPMISCCAPS_TSSARGTEMP);
  EXPECT_FALSE(caps.TextureCaps & D_D3DPTEXTURECAPS_SQUAREONLY);
  EXPECT_EQ(caps.MaxTextureWidth, 2048u);
  EXPECT_EQ(caps.MaxTextureHeight, 2048u);
  EXPECT_EQ(caps.MaxTextureBlendStages, 8u);

  D_D3DADAPTER_IDENTIFIER9 identifier{};
  ASSERT_EQ(direct3d->GetAdapterIdentifier(0, 0, &identifier), D_D3D_OK);
  EXPECT_STRNE(identifier.Driver, "");
  EXPECT_STRNE(identifier.Description, "");

  D_D3DDISPLAYMODE mode{};
  ASSERT_EQ(direct3d->GetAdapterDisplayMode(0, &mode), D_D3D_OK);
  EXPECT_EQ(mode.Format, D_D3DFMT_X8R8G8B8);
  EXPECT_GT(direct3d->GetAdapterModeCount(0, D_D3DFMT_X8R8G8B8), 0u);
  ASSERT_EQ(direct3d->EnumAdapterModes(0, D_D3DFMT_X8R8G8B8, 0, &mode), D_D3D_OK);
  EXPECT_EQ(mode.Format, D_D3DFMT_X8R8G8B8);
  EXPECT_EQ(direct3d->GetAdapterModeCount(0, D_D3DFMT_A8R8G8B8), 0u);

  DWORD levels = 0;
  EXPECT_EQ(direct3d->CheckDeviceMultiSampleType(0, D_D3DDEVTYPE_HAL, D_D3DFMT_X8R8G8B8, TRUE,
                                                 static_cast<D_D3DMULTISAMPLE_TYPE>(2), &levels),
            D_D3DERR_NOTAVAILABLE);
  EXPECT_EQ(direct3d->Release(), 0u);
  FreeLibrary(module);
}

struct FormatQuery {
  DWORD usage;
  D_D3DRESOURCETYPE type;
  D_D3DFORMAT format;
  bool accepted;
};

TEST(D3d9AdapterTest, FormatChecksAnswerForEachUsage) {
  D_IDirect3D9* direct3d = Direct3DCreate9(D_D3D_SDK_VERSION);
  ASSERT_NE(direct3d, nullptr);
  const FormatQuery queries[] = {
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_R5G6B5, true},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_X1R5G5B5, true},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_A1R5G5B5, true},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_A4R4G4B4, true},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_A8R8G8B8, true},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_X8R8G8B8, true},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_D16, false},
      {0, D_D3DRTYPE_TEXTURE, D_D3DFMT_YUY2, false},
      {D_D3DUSAGE_RENDERTARGET, D_D3DRTYPE_TEXTURE, D_D3DFMT_A4R4G4B4, true},
      {D_D3DUSAGE_RENDERTARGET, D_D3DRTYPE_TEXTURE, D_D3DFMT_DXT1, false},
      {D_D3DUSAGE_DEPTHSTENCIL, D_D3DRTYPE_SURFACE, D_D3DFMT_D24X8, true},
      {D_D3DUSAGE_DEPTHSTENCIL, D_D3DRTYPE_SURFACE, D_D3DFMT_X8R8G8B8, false},
  };
  for (const FormatQuery& query : queries) {
    EXPECT_EQ(direct3d->CheckDeviceFormat(0, D_D3DDEVTYPE_HAL, D_D3DFMT_X8R8G8B8, query.usage,
                                          query.type, query.format),
              query.accepted ? D_D3D_OK : D_D3DERR_NOTAVAILABLE)
        << "usage " << query.usage << " format " << query.format;
  }
  for (D_D3DFORMAT depth : {D_D3DFMT_D16, D_D3DFMT_D24X8, D_D3DFMT_D32}) {
    EXPECT_EQ(direct3d->CheckDepthStencilMatch(0, D_D3DDEVTYPE_HAL, D_D3DFMT_X8R8G8B8,
                                               D_D3DFMT_X8R8G8B8, depth),
              D_D3D_OK);
  }
  WqControlSetD3d9FormatRefused(D_D3DFMT_D16, true);
  EXPECT_EQ(direct3d->CheckDepthStencilMatch(0, D_D3DDEVTYPE_HAL, D_D3DFMT_X8R8G8B8,
                                             D_D3DFMT_X8R8G8B8, D_D3DFMT_D16),
            D_D3DERR_NOTAVAILABLE);
  WqControlSetD3d9FormatRefused(D_D3DFMT_D16, false);

  D_D3DCAPS9 square{};
  square.TextureCaps = D_D3DPTEXTURECAPS_SQUAREONLY;
  WqControlSetD3d9Caps(&square);
  D_D3DCAPS9 caps{};
  direct3d->GetDeviceCaps(0, D_D3DDEVTYPE_HAL, &caps);
  EXPECT_EQ(caps.TextureCaps, D_D3DPTEXTURECAPS_SQUAREONLY);
  WqControlSetD3d9Caps(nullptr);
  direct3d->Release();
}

TEST_F(D3d9DeviceTest, CreationTakesTheWindowSizeAndRefusesWhatItCannotKeep) {
  D_IDirect3DDevice9* device = nullptr;
  D_D3DPRESENT_PARAMETERS parameters = Parameters();
  parameters.BackBufferCount = 2;
  EXPECT_EQ(direct3d_->CreateDevice(0, D_D3DDEVTYPE_HAL, window_, 0, &parameters, &device),
            D_D3DERR_INVALIDCALL);
  parameters = Parameters();
  parameters.MultiSampleType = static_cast<D_D3DMULTISAMPLE_TYPE>(2);
  EXPECT_EQ(direct3d_->CreateDevice(0, D_D3DDEVTYPE_HAL, window_, 0, &parameters, &device),
            D_D3DERR_INVALIDCALL);
  parameters = Parameters();
  parameters.BackBufferWidth = parameters.BackBufferHeight = 0;
  parameters.BackBufferFormat = D_D3DFMT_UNKNOWN;
  ASSERT_EQ(direct3d_->CreateDevice(0, D_D3DDEVTYPE_HAL, window_, 0, &parameters, &device), D_D3D_OK);
  EXPECT_EQ(parameters.BackBufferWidth, static_cast<UINT>(kWidth));
  EXPECT_EQ(parameters.BackBufferHeight, static_cast<UINT>(kHeight));
  EXPECT_EQ(parameters.BackBufferFormat, D_D3DFMT_X8R8G8B8);
  EXPECT_EQ(device->Release(), 0u);

  WqControlSetD3d9CallFails("CreateDevice", true);
  parameters = Parameters();
  EXPECT_EQ(direct3d_->CreateDevice(0, D_D3DDEVTYPE_HAL, window_, 0, &parameters, &device),
            D_D3DERR_NOTAVAILABLE);
  EXPECT_EQ(device, nullptr);
  WqControlSetD3d9CallFails("CreateDevice", false);
  WqControlSetD3d9CallFails("Direct3DCreate9", true);
  EXPECT_EQ(Direct3DCreate9(D_D3D_SDK_VERSION), nullptr);
  WqControlSetD3d9CallFails("Direct3DCreate9", false);
}

TEST_F(D3d9DeviceTest, NamedCallsFailWhileTheControlSaysSo) {
  WqControlSetD3d9CallFails("Present", true);
  EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3DERR_INVALIDCALL);
  WqControlSetD3d9CallFails("Present", false);
  EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
  WqControlSetD3d9CallFails("CreateTexture", true);
  D_IDirect3DTexture9* texture = nullptr;
  EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_MANAGED, &texture, nullptr),
            D_D3DERR_INVALIDCALL);
  EXPECT_EQ(texture, nullptr);
  WqControlSetD3d9CallFails("CreateTexture", false);
}

TEST_F(D3d9DeviceTest, ALostDeviceReportsItselfUntilReset) {
  WqControlLoseD3d9Devices();
  EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3DERR_DEVICELOST);
  EXPECT_EQ(device_->TestCooperativeLevel(), D_D3DERR_DEVICENOTRESET);
  D_D3DPRESENT_PARAMETERS parameters = Parameters();
  parameters.BackBufferWidth = 32;
  D_IDirect3DSurface9* held = nullptr;
  device_->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &held);
  EXPECT_EQ(device_->Reset(&parameters), D_D3DERR_INVALIDCALL);  // the old back buffer is held
  held->Release();
  ASSERT_EQ(device_->Reset(&parameters), D_D3D_OK);
  EXPECT_EQ(device_->TestCooperativeLevel(), D_D3D_OK);
  D_IDirect3DSurface9* back_buffer = nullptr;
  device_->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &back_buffer);
  D_D3DSURFACE_DESC desc{};
  back_buffer->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 32u);
  back_buffer->Release();
  EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
}

TEST_F(D3d9DeviceTest, ObjectsHoldTheDeviceWhileTheProgramHoldsThem) {
  D_IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_MANAGED, &texture, nullptr),
            D_D3D_OK);
  EXPECT_EQ(device_->AddRef(), 3u);  // the program twice, the texture once
  EXPECT_EQ(device_->Release(), 2u);
  device_->SetTexture(0, texture);
  EXPECT_EQ(texture->Release(), 0u);  // kept by the binding, no longer by the program
  D_IDirect3DSwapChain9* swap_chain = nullptr;
  ASSERT_EQ(device_->GetSwapChain(0, &swap_chain), D_D3D_OK);
  D_IDirect3DSurface9* back_buffer = nullptr;
  ASSERT_EQ(swap_chain->GetBackBuffer(0, D_D3DBACKBUFFER_TYPE_MONO, &back_buffer), D_D3D_OK);
  EXPECT_EQ(back_buffer->Release(), 0u);
  EXPECT_EQ(swap_chain->Release(), 0u);
  // The device's last reference ends it with the texture still bound (TearDown).
}

TEST_F(D3d9DeviceTest, ScenesNestNotAndShadersAreKeptButNeverRun) {
  EXPECT_EQ(device_->EndScene(), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->BeginScene(), D_D3D_OK);
  EXPECT_EQ(device_->BeginScene(), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->EndScene(), D_D3D_OK);
  const DWORD function[] = {0xFFFE0200u, 0x0000FFFFu};
  D_IDirect3DVertexShader9* shader = nullptr;
  ASSERT_EQ(device_->CreateVertexShader(function, &shader), D_D3D_OK);
  EXPECT_EQ(device_->SetVertexShader(shader), D_D3D_OK);
  float constants[8] = {};
  EXPECT_EQ(device_->SetVertexShaderConstantF(254, constants, 2), D_D3D_OK);
  EXPECT_EQ(device_->SetVertexShaderConstantF(255, constants, 2), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(shader->Release(), 0u);
  device_->SetVertexShader(nullptr);
  const D_D3DVERTEXELEMENT9 elements[] = {{0, 0, 3, 0, 0, 0}, D_D3DDECL_END()};
  D_IDirect3DVertexDeclaration9* declaration = nullptr;
  ASSERT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D_D3D_OK);
  EXPECT_EQ(declaration->Release(), 0u);
  EXPECT_EQ(device_->SetDialogBoxMode(TRUE), D_D3D_OK);
}

// Integer and bool registers: sixteen of each per shader kind, stored per
// register (four ints or one BOOL), unset registers reading back as zero.
TEST_F(D3d9DeviceTest, IntAndBoolShaderConstantsStorePerRegisterWithinSixteen) {
  const int ints[8] = {1, -2, 3, -4, 5, 6, 7, 8};
  int intsBack[12] = {};
  EXPECT_EQ(device_->SetVertexShaderConstantI(14, ints, 2), D_D3D_OK);
  EXPECT_EQ(device_->SetVertexShaderConstantI(15, ints, 2), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetVertexShaderConstantI(16, ints, 0), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetVertexShaderConstantI(0, nullptr, 1), D_D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->GetVertexShaderConstantI(13, intsBack, 3), D_D3D_OK);
  EXPECT_EQ(std::vector<int>(intsBack, intsBack + 12), (std::vector<int>{0, 0, 0, 0, 1, -2, 3, -4, 5, 6, 7, 8}));
  EXPECT_EQ(device_->GetVertexShaderConstantI(15, intsBack, 2), D_D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->GetPixelShaderConstantI(14, intsBack, 1), D_D3D_OK);  // a file of its own
  EXPECT_EQ(intsBack[0], 0);
  const std::vector<int> allInts(16 * 4 + 4, 9);
  EXPECT_EQ(device_->SetPixelShaderConstantI(0, allInts.data(), 16), D_D3D_OK);
  EXPECT_EQ(device_->SetPixelShaderConstantI(0, allInts.data(), 17), D_D3DERR_INVALIDCALL);

  const BOOL bools[3] = {TRUE, FALSE, TRUE};
  BOOL boolsBack[4] = {7, 7, 7, 7};
  EXPECT_EQ(device_->SetVertexShaderConstantB(1, bools, 3), D_D3D_OK);
  EXPECT_EQ(device_->SetVertexShaderConstantB(14, bools, 3), D_D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->GetVertexShaderConstantB(0, boolsBack, 4), D_D3D_OK);
  EXPECT_EQ(std::vector<BOOL>(boolsBack, boolsBack + 4), (std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE}));
  EXPECT_EQ(device_->SetPixelShaderConstantB(15, bools, 1), D_D3D_OK);
  EXPECT_EQ(device_->SetPixelShaderConstantB(16, bools, 1), D_D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->GetPixelShaderConstantB(15, boolsBack, 1), D_D3D_OK);
  EXPECT_EQ(boolsBack[0], TRUE);
  ASSERT_EQ(device_->GetVertexShaderConstantB(15, boolsBack, 1), D_D3D_OK);
  EXPECT_EQ(boolsBack[0], FALSE);
}

TEST_F(D3d9DeviceTest, BuffersLockWithinTheirSize) {
  D_IDirect3DVertexBuffer9* vertices = nullptr;
  ASSERT_EQ(device_->CreateVertexBuffer(64, D_D3DUSAGE_WRITEONLY, 0x144, D_D3DPOOL_MANAGED, &vertices, nullptr),
            D_D3D_OK);
  void* data = nullptr;
  EXPECT_EQ(vertices->Lock(0, 0, &data, 0), D_D3D_OK);
  EXPECT_EQ(vertices->Unlock(), D_D3D_OK);
  EXPECT_EQ(vertices->Lock(60, 8, &data, 0), D_D3DERR_INVALIDCALL);
  D_D3DVERTEXBUFFER_DESC desc{};
  vertices->GetDesc(&desc);
  EXPECT_EQ(desc.Size, 64u);
  EXPECT_EQ(desc.FVF, 0x144u);
  vertices->Release();
  D_IDirect3DIndexBuffer9* indices = nullptr;
  EXPECT_EQ(device_->CreateIndexBuffer(32, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_DEFAULT, &indices, nullptr),
            D_D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->CreateIndexBuffer(32, 0, D_D3DFMT_INDEX16, D_D3DPOOL_DEFAULT, &indices, nullptr),
            D_D3D_OK);
  indices->Release();

  D_IDirect3DVolumeTexture9* volume = nullptr;
  ASSERT_EQ(device_->CreateVolumeTexture(8, 8, 8, 1, 0, D_D3DFMT_X8R8G8B8, D_D3DPOOL_SYSTEMMEM, &volume, nullptr),
            D_D3D_OK);
  D_D3DLOCKED_BOX box{};
  ASSERT_EQ(volume->LockBox(0, &box, nullptr, 0), D_D3D_OK);
  EXPECT_EQ(box.RowPitch, 32);
  EXPECT_EQ(box.SlicePitch, 256);
  volume->UnlockBox(0);
  D_IDirect3DVolumeTexture9* target = nullptr;
  ASSERT_EQ(device_->CreateVolumeTexture(8, 8, 8, 1, 0, D_D3DFMT_X8R8G8B8, D_D3DPOOL_DEFAULT, &target, nullptr),
            D_D3D_OK);
  EXPECT_EQ(device_->UpdateTexture(volume, target), D_D3D_OK);
  target->Release();
  volume->Release();
}

TEST_F(D3d9DeviceTest, OffscreenSurfacesRefuseYuvFormats) {
  D_IDirect3DSurface9* surface = nullptr;
  EXPECT_EQ(device_->CreateOffscreenPlainSurface(16, 16, D_D3DFMT_YUY2, D_D3DPOOL_DEFAULT, &surface, nullptr),
            D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->CreateOffscreenPlainSurface(16, 16, D_D3DFMT_UYVY, D_D3DPOOL_SYSTEMMEM, &surface, nullptr),
            D_D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->CreateOffscreenPlainSurface(16, 16, D_D3DFMT_R5G6B5, D_D3DPOOL_SYSTEMMEM, &surface, nullptr),
            D_D3D_OK);
  surface->Release();
}

}  // namespace
