// Graphics start-up and shutdown, and the choice between the Direct3D 9
// renderer and the software screen.
#include "graphics/graphics_start.h"

#include "core/base/log_file.h"
#include "core/window/window_system_state.h"
#include "graphics/camera_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/graph_setup.h"
#include "graphics/user_buffers.h"
#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "graphics/shader_pack.h"
#include "graphics/vertex_batch.h"
#include "graphics/vertical_blank.h"
#include "image/blend_tables.h"
#include "text/font_system.h"
#include "text/mask_screen.h"

namespace {

constexpr int kWindowsVistaCode = 0x108;

void ReleaseFailedDevice() {
  GraphicsState& g = Graphics();
  ReleaseObject(&g.depthSurface);
  ReleaseObject(&g.backBuffer);
  ReleaseObject(&g.swapChain);
  if (g.device) {
    LogWrite("Direct3DDevice9 の解放 2\n");
    ReleaseObject(&g.device);
    g.inScene = 0;
  }
  ReleaseObject(&g.direct3d);
}

// The Direct3D attempt; false leaves the software renderer to take over.
bool TryDirect3D() {
  GraphicsState& g = Graphics();
  const WindowSystemState& state = WindowSystem();
  const bool windowedFullScreen = !state.windowMode && state.osCode >= kWindowsVistaCode && Emulating320x240();
  if (windowedFullScreen && ChangeDisplayMode() != 0) return false;
  if (CreateDirect3D9() == 0 && CreateDirect3DDevice() == 0 && CreateZBuffer() == 0) {
    g.useHardwareRenderer = 1;
    CreateShadersFromPack();
    if (UseProgrammableShader()) {
      CreateVertexDeclarations();
      CreateBrightnessVolumeTexture();
    }
    return true;
  }
  ReleaseFailedDevice();
  return false;
}

}  // namespace

int StartDirect3D9() {
  GraphicsState& g = Graphics();
  // Without d3d9.dll the software screen still shows the program.
  g.d3d9Module = LoadLibraryA("d3d9.dll");
  if (g.d3d9Module == nullptr) LogWrite("d3d9.dll の読み込みに失敗しました\n");
  if (CreateDirectDraw7() != 0) {
    LogWrite("Direct3D9 DLL の解放 3\n");
    if (g.d3d9Module) FreeLibrary(g.d3d9Module);
    g.d3d9Module = nullptr;
    return -1;
  }
  g.useHardwareRenderer = 0;
  g.deviceLost = 0;
  if (!g.softwareRendererRequested && g.d3d9Module && TryDirect3D()) return 0;
  if (!WindowSystem().windowMode && ChangeDisplayMode() != 0) return -1;
  MeasureRefreshPeriod();
  return 0;
}

int StartGraphics() {
  GraphicsState& g = Graphics();
  if (g.started) return 0;
  ScreenSettings& screen = Screen();
  if (screen.width == 0) screen.width = 640;
  if (screen.height == 0) screen.height = 480;
  if (screen.colorBits == 0) screen.colorBits = 16;
  if (!WindowSystem().windowMode && screen.width == 320 && screen.height == 240) {
    screen.emulate320x240Auto = 1;
    screen.width = 640;
    screen.height = 480;
  }
  // The draw-state reset below puts the default vertical-blank setting back;
  // the device is made with it already, so that its presents follow it.
  ApplyDefaultWaitVSync();
  if (StartDirect3D9() == -1) {
    ShutdownGraphics();
    return -1;
  }
  g.started = 1;
  if (g.useHardwareRenderer)
    InitVertexBatchArrays();
  else
    CreateScreenMemImg();
  InitGraphicsDrawState();
  BuildBlendTables();
  StartFontSystem();
  return 0;
}

int ReleaseDirect3D9() {
  GraphicsState& g = Graphics();
  ReleasePackShaders();
  ReleaseVertexDeclarations();
  if (!WindowSystem().windowMode && !g.exclusiveFullScreen) ChangeDisplaySettingsA(nullptr, 0);
  ReleaseObject(&g.depthSurface);
  ReleaseObject(&g.subBackBuffer);
  ReleaseObject(&g.backBuffer);
  ReleaseObject(&g.swapChain);
  ReleaseObject(&g.brightnessVolume);
  if (g.device) {
    LogWrite("Direct3DDevice9 の解放 3\n");
    ReleaseObject(&g.device);
    g.inScene = 0;
  }
  ReleaseObject(&g.direct3d);
  ReleaseObject(&g.directDraw);
  g.useHardwareRenderer = 0;
  if (g.d3d9Module) {
    LogWrite("Direct3D9 DLL の解放 4\n");
    FreeLibrary(g.d3d9Module);
    g.d3d9Module = nullptr;
  }
  FreeDisplayModeList();
  return 0;
}

int ShutdownGraphics() {
  GraphicsState& g = Graphics();
  EndFontSystem();
  if (!g.started) return 0;
  ReleaseMaskScreen();
  DeleteAllMasks();
  DeleteAllLights(1);
  DeleteAllGraphs();
  DeleteAllVertexBuffers();
  DeleteAllIndexBuffers();
  DeleteAllShaderHandles();
  ReleaseDirect3D9();
  ReleaseScreenMemImgs();
  CloseShaderPack();
  g.started = 0;
  return 0;
}

int IsGraphicsStarted() { return Graphics().started; }
int IsDirect3DRendererInUse() { return Graphics().useHardwareRenderer; }
int IsDirectDrawReady() { return Graphics().directDraw != nullptr ? 1 : 0; }

int SetUseHardwareRenderer(int flag) {
  if (WindowSystem().initialised) return -1;
  Graphics().softwareRendererRequested = flag == 0 ? 1 : 0;
  return 0;
}

int GetUseHardwareRenderer() { return Graphics().softwareRendererRequested ? 0 : 1; }
