#include "d3d9/adapter.h"

#include <SDL.h>

#include <cstring>
#include <mutex>

#include "d3d9/d3d9_controls.h"
#include "d3d9/gl_core.h"
#include "d3d9/gl_state_names.h"
#include "d3d9/pixel_format.h"
#include "user32/window_system.h"

namespace wqplat {
namespace {

bool HasExtension(const char* name) {
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    const char* extension = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, i));
    if (extension && std::strcmp(extension, name) == 0) return true;
  }
  return false;
}

GlDriver Probe() {
  GlDriver driver;
  if (!EnsureWindowSystem()) return driver;
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
  if (!window) return driver;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
  SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context) {
    driver.available = true;
    driver.s3tc = HasExtension("GL_EXT_texture_compression_s3tc");
    driver.anisotropy = HasExtension("GL_EXT_texture_filter_anisotropic") ||
                        HasExtension("GL_ARB_texture_filter_anisotropic");
    SDL_GL_MakeCurrent(previous_window, previous_context);
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(window);
  return driver;
}

D_D3DCAPS9 OwnCaps() {
  D_D3DCAPS9 caps{};
  caps.DeviceType = D_D3DDEVTYPE_HAL;
  caps.PresentationIntervals = D_D3DPRESENT_INTERVAL_CAPS;
  // Pre-transformed vertices outside the depth range are clipped.
  caps.PrimitiveMiscCaps = D_D3DPMISCCAPS_CULLNONE | D_D3DPMISCCAPS_CULLCW |
                           D_D3DPMISCCAPS_CULLCCW | D_D3DPMISCCAPS_CLIPTLVERTS |
                           D_D3DPMISCCAPS_TSSARGTEMP | D_D3DPMISCCAPS_BLENDOP;
  // Every stage operation but the two bump-mapping ones.
  for (DWORD op = D_D3DTOP_DISABLE; op <= D_D3DTOP_LERP; ++op) {
    if (op != D_D3DTOP_BUMPENVMAP && op != D_D3DTOP_BUMPENVMAPLUMINANCE) {
      caps.TextureOpCaps |= D_D3DTEXOPCAPS_OF(op);
    }
  }
  caps.DevCaps2 = D_D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES;
  caps.ZCmpCaps = caps.AlphaCmpCaps = 0xFF;  // every comparison
  caps.SrcBlendCaps = caps.DestBlendCaps = 0x1FFF;  // factors 1 to 13
  caps.TextureCaps = D_D3DPTEXTURECAPS_PERSPECTIVE | D_D3DPTEXTURECAPS_ALPHA |
                     D_D3DPTEXTURECAPS_MIPMAP | D_D3DPTEXTURECAPS_VOLUMEMAP;
  caps.MaxTextureWidth = caps.MaxTextureHeight = 2048;
  caps.MaxVolumeExtent = 256;
  caps.MaxTextureAspectRatio = 2048;
  caps.MaxAnisotropy = ProbeGlDriver().anisotropy ? 16 : 1;
  caps.MaxVertexW = 1e10f;
  caps.FVFCaps = 8;  // texture coordinate sets
  caps.MaxTextureBlendStages = D_D3DMAXTEXTURESTAGES;
  caps.MaxSimultaneousTextures = D_D3DMAXTEXTURESTAGES;
  caps.MaxActiveLights = 8;
  caps.MaxPointSize = 1.0f;
  caps.MaxPrimitiveCount = kMaxPrimitiveCount;
  caps.MaxVertexIndex = kMaxVertexIndex;
  caps.MaxStreams = 1;
  caps.MaxStreamStride = 255;
  caps.VertexShaderVersion = 0xFFFE0000u;  // version 0: fixed function only
  caps.PixelShaderVersion = 0xFFFF0000u;
  caps.NumberOfAdaptersInGroup = 1;
  caps.NumSimultaneousRTs = 1;
  return caps;
}

bool IsColorFormat(D_D3DFORMAT format) {
  const PixelFormat* found = FindPixelFormat(format);
  return found && found->kind == FormatKind::kColor;
}

}  // namespace

const GlDriver& ProbeGlDriver() {
  static const GlDriver driver = Probe();
  return driver;
}

D_D3DCAPS9 AdapterCaps() {
  std::optional<D_D3DCAPS9> overridden = D3d9CapsOverride();
  return overridden ? *overridden : OwnCaps();
}

bool IsDisplayFormat(D_D3DFORMAT format) {
  return format == D_D3DFMT_X8R8G8B8 || format == D_D3DFMT_R5G6B5 ||
         format == D_D3DFMT_X1R5G5B5;
}

bool AdapterSupportsFormat(DWORD usage, D_D3DRESOURCETYPE type, D_D3DFORMAT format) {
  if (D3d9FormatRefused(format)) return false;
  const PixelFormat* found = FindPixelFormat(format);
  if (!found) return false;
  if (usage & D_D3DUSAGE_DEPTHSTENCIL) return found->kind == FormatKind::kDepth;
  if (found->kind == FormatKind::kDepth) return false;
  if (usage & D_D3DUSAGE_RENDERTARGET) return IsColorFormat(format);
  if (found->kind == FormatKind::kBlock) {
    return (type == D_D3DRTYPE_TEXTURE || type == D_D3DRTYPE_SURFACE) && ProbeGlDriver().s3tc;
  }
  return type == D_D3DRTYPE_TEXTURE || type == D_D3DRTYPE_SURFACE ||
         type == D_D3DRTYPE_VOLUMETEXTURE;
}

}  // namespace wqplat
