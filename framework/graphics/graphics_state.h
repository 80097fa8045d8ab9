// The renderer's process-wide state: which renderer runs, the Direct3D and
// DirectDraw objects, the device's capabilities and the formats chosen when
// the device was made. One record, reached through Graphics().
#pragma once

#include <cstdint>

#include "platform/d3d9.h"
#include "platform/ddraw.h"
#include "platform/windows.h"

// Texture-format table entries.
enum TextureFormatSlot {
  kTexFormat16,
  kTexFormat32,
  kTexFormatAlpha16,
  kTexFormatAlpha32,
  kTexFormatAlphaTest16,
  kTexFormatAlphaTest32,
  kTexFormatDxt1,
  kTexFormatDxt2,
  kTexFormatDxt3,
  kTexFormatDxt4,
  kTexFormatDxt5,
  kTexFormatTarget16,
  kTexFormatTarget32,
  kTexFormatTargetAlpha32,
  kTexFormatScreenDrawable,
  kTexFormatScreenAlphaTest,
  kTexFormatSlotCount
};

struct GraphicsState {
  int started;
  int useHardwareRenderer;  // written only by StartDirect3D9
  int softwareRendererRequested;

  HMODULE d3d9Module;
  D_IDirect3D9* direct3d;
  D_IDirect3DDevice9* device;
  D_IDirect3DSwapChain9* swapChain;
  D_IDirect3DSurface9* backBuffer;
  D_IDirect3DSurface9* subBackBuffer;
  D_IDirect3DSurface9* depthSurface;
  D_IDirect3DVolumeTexture9* brightnessVolume;
  D_IDirectDraw7* directDraw;
  int inScene;
  int exclusiveFullScreen;  // the device was made for exclusive full screen
  // Set when Present reports a lost device; the next frame rebuilds it.
  int deviceLost;

  // Capabilities.
  int subtractBlendNative;
  int textureStageTempUsable;
  int maxTextureSize;
  int maxTextureWidth;  // as reported (0 read as 256)
  int maxTextureHeight;
  int vertexShader20Usable;
  int pixelShader20Usable;
  int programmableShaderUsable;
  // User vertex and index buffers get device objects only on a device made
  // with hardware vertex processing; on the others they stay in memory.
  int hardwareBuffersUsable;
  std::uint32_t vertexShaderVersion;
  std::uint32_t pixelShaderVersion;

  D_D3DFORMAT screenFormat;
  D_D3DFORMAT depthFormat;
  D_D3DFORMAT textureFormats[kTexFormatSlotCount];
  int depthWidth;  // the depth buffer's power-of-two size
  int depthHeight;
  int useBackBufferLock;
};

GraphicsState& Graphics();

inline D_IDirect3DDevice9* Device() { return Graphics().device; }
inline bool HardwareRendererInUse() { return Graphics().useHardwareRenderer != 0; }

// The window's clear colour, 0x00RRGGBB; nothing in the program changes it
// from black, but every clear and the screen image's first fill read it.
std::uint32_t GetScreenBackgroundColor();
void SetScreenBackgroundColor(std::uint32_t color);

// Releases a COM object and clears the pointer.
template <typename Object>
void ReleaseObject(Object** object) {
  if (*object) (*object)->Release();
  *object = nullptr;
}
