// Creating the Direct3D 9 object and its device for the screen settings.
// Multisampling, the multithreaded device, forced software vertex
// processing, FPU preservation and keeping desktop composition off are
// settings nothing in this program turns on, so they keep their defaults
// here: no multisampling, none of those flags.
#include "core/startup/runtime_libraries.h"
#include "core/window/main_window.h"
#include "core/window/window_system_state.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_start.h"
#include "graphics/screen_mode.h"
#include "graphics/vertical_blank.h"

namespace {

using Direct3DCreate9Function = D_IDirect3D9* (*)(UINT);

constexpr int kWindowsVistaCode = 0x108;
constexpr int kInitialPresents = 3;

bool ProgrammableShadersReported(const D_D3DCAPS9& caps) {
  return (caps.VertexShaderVersion & 0xFFFF) >= 0x200 && (caps.PixelShaderVersion & 0xFFFF) >= 0x200;
}

// The back buffer format of a full-screen device; unknown for a depth the
// device cannot show.
D_D3DFORMAT FullScreenFormat(int colorBits) {
  if (colorBits == 32) return D_D3DFMT_X8R8G8B8;
  if (colorBits != 16) return D_D3DFMT_UNKNOWN;
  return Graphics().direct3d->GetAdapterModeCount(D_D3DADAPTER_DEFAULT, D_D3DFMT_R5G6B5) > 0 ? D_D3DFMT_R5G6B5
                                                                                             : D_D3DFMT_X1R5G5B5;
}

int FillPresentParameters(D_D3DPRESENT_PARAMETERS* params) {
  GraphicsState& g = Graphics();
  ScreenSettings& screen = Screen();
  const WindowSystemState& state = WindowSystem();
  *params = D_D3DPRESENT_PARAMETERS{};
  params->BackBufferWidth = static_cast<UINT>(screen.width);
  params->BackBufferHeight = static_cast<UINT>(screen.height);
  params->BackBufferCount = 1;
  g.exclusiveFullScreen = 0;
  if (state.windowMode) {
    D_D3DDISPLAYMODE desktop{};
    g.direct3d->GetAdapterDisplayMode(D_D3DADAPTER_DEFAULT, &desktop);
    params->BackBufferFormat = desktop.Format;
    params->Windowed = TRUE;
    if (desktop.Format == D_D3DFMT_X8R8G8B8) screen.colorBits = 32;
    if (desktop.Format >= D_D3DFMT_R5G6B5 && desktop.Format <= D_D3DFMT_A1R5G5B5) screen.colorBits = 16;
    SetDesktopComposition(1);
  } else {
    params->BackBufferFormat = FullScreenFormat(screen.colorBits);
    if (params->BackBufferFormat == D_D3DFMT_UNKNOWN)
      return LogWrite("非対応のバックバッファービット深度が指定されました\n");
    if (state.osCode < kWindowsVistaCode || !Emulating320x240()) {
      g.exclusiveFullScreen = 1;
      params->FullScreen_RefreshRateInHz = static_cast<UINT>(screen.refreshRate);
      SetDesktopComposition(0);
      if (RuntimeEntry<HRESULT (*)(UINT)>(kRuntimeDwmapi, "DwmEnableComposition") != nullptr)
        LogWrite("Desktop Window Manager を無効にしました\n");
    } else {
      params->Windowed = TRUE;
    }
  }
  params->SwapEffect = D_D3DSWAPEFFECT_COPY;
  params->Flags = D_D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  params->hDeviceWindow = GetMainWindow();
  params->EnableAutoDepthStencil = FALSE;
  params->PresentationInterval = IsVSyncWaitOn() ? D_D3DPRESENT_INTERVAL_ONE : D_D3DPRESENT_INTERVAL_IMMEDIATE;
  return 0;
}

// Mixed vertex processing when shaders can run, else software; a refused
// first attempt is retried once with software vertex processing.
int CreateDevice(D_D3DPRESENT_PARAMETERS* params) {
  GraphicsState& g = Graphics();
  LogWrite("IDirect3DDevice9 オブジェクトを取得します.... ");
  const DWORD first =
      g.programmableShaderUsable ? D_D3DCREATE_MIXED_VERTEXPROCESSING : D_D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  if (SUCCEEDED(g.direct3d->CreateDevice(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, GetMainWindow(), first, params,
                                         &g.device))) {
    LogWrite("ハードウエア頂点演算を使用します\n");
    g.hardwareBuffersUsable = g.programmableShaderUsable;
    return 0;
  }
  g.device = nullptr;
  g.programmableShaderUsable = 0;
  if (SUCCEEDED(g.direct3d->CreateDevice(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, GetMainWindow(),
                                         D_D3DCREATE_SOFTWARE_VERTEXPROCESSING, params, &g.device))) {
    LogWrite("ソフトウエア頂点演算を使用します\n");
    g.hardwareBuffersUsable = 0;
    return 0;
  }
  g.device = nullptr;
  return LogWrite("Direct3DDevice9 の作成に失敗しました\n");
}

void ClearBackBuffer() { Device()->Clear(0, nullptr, D_D3DCLEAR_TARGET, GetScreenBackgroundColor(), 1.0f, 0); }

void ReadCapabilities() {
  GraphicsState& g = Graphics();
  D_D3DCAPS9 caps{};
  g.device->GetDeviceCaps(&caps);
  g.subtractBlendNative = (caps.PrimitiveMiscCaps & D_D3DPMISCCAPS_BLENDOP) ? 1 : 0;
  g.textureStageTempUsable = (caps.PrimitiveMiscCaps & D_D3DPMISCCAPS_TSSARGTEMP) ? 1 : 0;
  g.maxTextureWidth = caps.MaxTextureWidth ? static_cast<int>(caps.MaxTextureWidth) : 256;
  g.maxTextureHeight = caps.MaxTextureHeight ? static_cast<int>(caps.MaxTextureHeight) : 256;
  g.maxTextureSize = g.maxTextureWidth < g.maxTextureHeight ? g.maxTextureWidth : g.maxTextureHeight;
  g.vertexShaderVersion = caps.VertexShaderVersion & 0xFFFF;
  g.pixelShaderVersion = caps.PixelShaderVersion & 0xFFFF;
  g.vertexShader20Usable = g.vertexShaderVersion >= 0x200;
  g.pixelShader20Usable = g.pixelShaderVersion >= 0x200;
  D_D3DADAPTER_IDENTIFIER9 identifier{};
  g.direct3d->GetAdapterIdentifier(D_D3DADAPTER_DEFAULT, 0, &identifier);
  LogWriteFormat("Driver:%s  Description:%s", identifier.Driver, identifier.Description);
}

void LogCapabilities() {
  const GraphicsState& g = Graphics();
  LogWriteFormat("最大テクスチャサイズ　幅:%d 高さ:%d", g.maxTextureWidth, g.maxTextureHeight);
  LogWriteFormat("テクスチャステージテンポラリレジスタ：%s", g.textureStageTempUsable ? "使用可" : "使用不可");
  LogWriteFormat("減算合成のハードウェア対応：%s", g.subtractBlendNative ? "ネイティブ" : "エミュレート");
  LogWriteFormat("頂点シェーダーバージョンコード：%x", g.vertexShaderVersion);
  LogWriteFormat("ピクセルシェーダーバージョンコード：%x", g.pixelShaderVersion);
}

}  // namespace

int CreateDirect3D9() {
  GraphicsState& g = Graphics();
  ReleaseObject(&g.direct3d);
  // The platform offers no extended Direct3D interface, so the extended
  // object is looked for and the plain one is taken.
  LogWrite("IDirect3D9Ex オブジェクトを取得します.... ");
  LogWrite("IDirect3D9 オブジェクトを取得します.... ");
  const auto create = reinterpret_cast<Direct3DCreate9Function>(GetProcAddress(g.d3d9Module, "Direct3DCreate9"));
  if (create == nullptr) return LogWrite("Direct3DCreate9 APIのアドレス取得に失敗しました\n");
  g.direct3d = create(D_D3D_SDK_VERSION);
  if (g.direct3d == nullptr) return LogWrite("IDirect3D9 オブジェクトの取得に失敗しました\n");
  LogWrite("成功\n");
  return 0;
}

int CreateDirect3DDevice() {
  GraphicsState& g = Graphics();
  if (g.direct3d == nullptr) return -1;
  if (g.device) {
    LogWrite("Direct3DDevice9 の解放 1\n");
    ReleaseObject(&g.device);
    g.inScene = 0;
  }
  D_D3DPRESENT_PARAMETERS params;
  if (FillPresentParameters(&params) != 0) return -1;
  D_D3DCAPS9 adapterCaps{};
  g.direct3d->GetDeviceCaps(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, &adapterCaps);
  g.programmableShaderUsable = ProgrammableShadersReported(adapterCaps) ? 1 : 0;
  if (CreateDevice(&params) != 0) return -1;

  MeasureRefreshPeriod();
  ResetShaderStateCache();
  g.device->SetRenderState(D_D3DRS_ZENABLE, TRUE);
  for (int i = 0; i < kInitialPresents; ++i) {
    ClearBackBuffer();
    g.device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  ClearBackBuffer();
  g.device->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &g.backBuffer);
  g.device->GetSwapChain(0, &g.swapChain);
  LogWrite("成功\n");
  ReadCapabilities();
  SetCachedMaterialSources(255, 255);
  if (ChooseDeviceFormats() != 0) return -1;
  LogCapabilities();
  RunBackBufferReadTest();
  return 0;
}
