// Creating resources and choosing the surfaces the device draws into.
#include <algorithm>

#include "d3d9/adapter.h"
#include "d3d9/d3d9_controls.h"
#include "d3d9/device.h"
#include "d3d9/device_buffer.h"
#include "d3d9/gl_texture.h"
#include "d3d9/stored_object.h"
#include "d3d9/texture.h"
#include "d3d9/volume_texture.h"

namespace wqplat {
namespace {

constexpr int kMaxTextureSide = 2048;

bool IsGpuPool(D_D3DPOOL pool) { return pool == D_D3DPOOL_DEFAULT || pool == D_D3DPOOL_MANAGED; }

bool ValidPool(D_D3DPOOL pool) { return pool <= D_D3DPOOL_SCRATCH; }

// Hands a new object to the caller, or reports why there is none.
template <class Interface, class Object>
HRESULT Deliver(Object* object, Interface** out) {
  *out = object;
  return object ? D_D3D_OK : D_D3DERR_OUTOFVIDEOMEMORY;
}

}  // namespace

Surface* Device::NewSurface(int width, int height, const PixelFormat& format, DWORD usage,
                            D_D3DPOOL pool, DeviceChildCount::Ownership ownership) {
  GlImage image;
  if (IsGpuPool(pool)) {
    gl_->MakeCurrent();
    image.texture = CreateGlTexture(format, width, height, 1);
    if (!image.texture) return nullptr;
  }
  D_D3DSURFACE_DESC desc{format.format, D_D3DRTYPE_SURFACE, usage, pool, D_D3DMULTISAMPLE_NONE, 0,
                         static_cast<UINT>(width), static_cast<UINT>(height)};
  return new Surface(this, ownership, nullptr, gl_, desc, format, image);
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                              D_D3DFORMAT format, D_D3DPOOL pool, D_IDirect3DTexture9** texture,
                              HANDLE* /*shared*/) {
  if (!texture) return D_D3DERR_INVALIDCALL;
  *texture = nullptr;
  const PixelFormat* found = FindPixelFormat(format);
  bool render_target = (usage & D_D3DUSAGE_RENDERTARGET) != 0;
  if (D3d9CallFails("CreateTexture") || !found || width == 0 || height == 0 ||
      width > kMaxTextureSide || height > kMaxTextureSide || !ValidPool(pool) ||
      !AdapterSupportsFormat(usage, D_D3DRTYPE_TEXTURE, format) ||
      (render_target && pool != D_D3DPOOL_DEFAULT)) {
    return D_D3DERR_INVALIDCALL;
  }
  return Deliver(Texture::Create(this, gl_, static_cast<int>(width), static_cast<int>(height),
                                 MipLevelCount(levels, std::max(width, height)), usage, *found,
                                 pool),
                 texture);
}

HRESULT Device::CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                                    D_D3DFORMAT format, D_D3DPOOL pool,
                                    D_IDirect3DVolumeTexture9** texture, HANDLE* /*shared*/) {
  if (!texture) return D_D3DERR_INVALIDCALL;
  *texture = nullptr;
  const PixelFormat* found = FindPixelFormat(format);
  if (D3d9CallFails("CreateVolumeTexture") || !found || width == 0 || height == 0 || depth == 0 ||
      std::max({width, height, depth}) > AdapterCaps().MaxVolumeExtent || !ValidPool(pool) ||
      !AdapterSupportsFormat(usage, D_D3DRTYPE_VOLUMETEXTURE, format)) {
    return D_D3DERR_INVALIDCALL;
  }
  return Deliver(new VolumeTexture(this, static_cast<int>(width), static_cast<int>(height),
                                   static_cast<int>(depth),
                                   MipLevelCount(levels, std::max({width, height, depth})), usage,
                                   *found, pool),
                 texture);
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D_D3DPOOL pool,
                                   D_IDirect3DVertexBuffer9** buffer, HANDLE* /*shared*/) {
  if (!buffer) return D_D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (D3d9CallFails("CreateVertexBuffer") || length == 0 || !ValidPool(pool)) {
    return D_D3DERR_INVALIDCALL;
  }
  return Deliver(new VertexBuffer(this, {D_D3DFMT_VERTEXDATA, D_D3DRTYPE_VERTEXBUFFER, usage, pool,
                                         length, fvf}),
                 buffer);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D_D3DFORMAT format, D_D3DPOOL pool,
                                  D_IDirect3DIndexBuffer9** buffer, HANDLE* /*shared*/) {
  if (!buffer) return D_D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (D3d9CallFails("CreateIndexBuffer") || length == 0 || !ValidPool(pool) ||
      (format != D_D3DFMT_INDEX16 && format != D_D3DFMT_INDEX32)) {
    return D_D3DERR_INVALIDCALL;
  }
  return Deliver(
      new IndexBuffer(this, {format, D_D3DRTYPE_INDEXBUFFER, usage, pool, length}), buffer);
}

HRESULT Device::CreateTargetSurface(const char* call, UINT width, UINT height,
                                    D_D3DFORMAT format, D_D3DMULTISAMPLE_TYPE multisample,
                                    DWORD usage, D_IDirect3DSurface9** surface) {
  if (!surface) return D_D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (D3d9CallFails(call) || width == 0 || height == 0 || width > kMaxTextureSide * 2 ||
      height > kMaxTextureSide * 2 || multisample != D_D3DMULTISAMPLE_NONE ||
      !AdapterSupportsFormat(usage, D_D3DRTYPE_SURFACE, format)) {
    return D_D3DERR_INVALIDCALL;
  }
  return Deliver(NewSurface(static_cast<int>(width), static_cast<int>(height),
                            *FindPixelFormat(format), usage, D_D3DPOOL_DEFAULT),
                 surface);
}

HRESULT Device::CreateRenderTarget(UINT width, UINT height, D_D3DFORMAT format,
                                   D_D3DMULTISAMPLE_TYPE multisample, DWORD /*quality*/,
                                   BOOL lockable, D_IDirect3DSurface9** surface,
                                   HANDLE* /*shared*/) {
  HRESULT result = CreateTargetSurface("CreateRenderTarget", width, height, format, multisample,
                                       D_D3DUSAGE_RENDERTARGET, surface);
  if (result == D_D3D_OK && !lockable) static_cast<Surface*>(*surface)->RefuseLocks();
  return result;
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D_D3DFORMAT format,
                                          D_D3DMULTISAMPLE_TYPE multisample, DWORD /*quality*/,
                                          BOOL /*discard*/, D_IDirect3DSurface9** surface,
                                          HANDLE* /*shared*/) {
  return CreateTargetSurface("CreateDepthStencilSurface", width, height, format, multisample,
                             D_D3DUSAGE_DEPTHSTENCIL, surface);
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D_D3DFORMAT format,
                                            D_D3DPOOL pool, D_IDirect3DSurface9** surface,
                                            HANDLE* /*shared*/) {
  if (!surface) return D_D3DERR_INVALIDCALL;
  *surface = nullptr;
  const PixelFormat* found = FindPixelFormat(format);
  // Planar and packed YUV formats are not kept; programs convert themselves.
  // Scratch surfaces are memory only, so no format the device keeps is
  // beyond them.
  bool format_usable = pool == D_D3DPOOL_SCRATCH
                           ? !D3d9FormatRefused(format)
                           : AdapterSupportsFormat(0, D_D3DRTYPE_SURFACE, format);
  if (D3d9CallFails("CreateOffscreenPlainSurface") || !found ||
      found->kind == FormatKind::kDepth || width == 0 || height == 0 ||
      width > kMaxTextureSide * 2 || height > kMaxTextureSide * 2 || !ValidPool(pool) ||
      pool == D_D3DPOOL_MANAGED || !format_usable) {
    return D_D3DERR_INVALIDCALL;
  }
  return Deliver(
      NewSurface(static_cast<int>(width), static_cast<int>(height), *found, 0, pool), surface);
}

HRESULT Device::SetRenderTarget(DWORD index, D_IDirect3DSurface9* surface) {
  auto* target = dynamic_cast<Surface*>(surface);
  if (index != 0 || !target || !(target->desc().Usage & D_D3DUSAGE_RENDERTARGET) ||
      D3d9CallFails("SetRenderTarget")) {
    return D_D3DERR_INVALIDCALL;
  }
  Rebind(render_target_, target);
  // A new target resets the viewport to cover it, as in Direct3D.
  state_.viewport = {0, 0, static_cast<DWORD>(target->width()),
                     static_cast<DWORD>(target->height()), 0.0f, 1.0f};
  state_.scissor = {0, 0, target->width(), target->height()};
  bound_framebuffer_ = 0;
  return D_D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, D_IDirect3DSurface9** surface) {
  if (index != 0 || !surface) return D_D3DERR_INVALIDCALL;
  render_target_->AddRef();
  *surface = render_target_;
  return D_D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(D_IDirect3DSurface9* surface) {
  auto* depth = dynamic_cast<Surface*>(surface);
  if (surface && (!depth || depth->format().kind != FormatKind::kDepth)) {
    return D_D3DERR_INVALIDCALL;
  }
  Rebind(depth_stencil_, depth);
  bound_framebuffer_ = 0;
  return D_D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(D_IDirect3DSurface9** surface) {
  if (!surface) return D_D3DERR_INVALIDCALL;
  *surface = depth_stencil_;
  if (!depth_stencil_) return D_D3DERR_NOTFOUND;
  depth_stencil_->AddRef();
  return D_D3D_OK;
}

HRESULT Device::CreateVertexDeclaration(const D_D3DVERTEXELEMENT9* elements,
                                        D_IDirect3DVertexDeclaration9** declaration) {
  if (!elements || !declaration) return D_D3DERR_INVALIDCALL;
  *declaration = new VertexDeclaration(this, DeclarationElements(elements));
  return D_D3D_OK;
}

HRESULT Device::CreateVertexShader(const DWORD* function, D_IDirect3DVertexShader9** shader) {
  if (!function || !shader) return D_D3DERR_INVALIDCALL;
  *shader = new VertexShader(this, ShaderTokens(function));
  return D_D3D_OK;
}

HRESULT Device::CreatePixelShader(const DWORD* function, D_IDirect3DPixelShader9** shader) {
  if (!function || !shader) return D_D3DERR_INVALIDCALL;
  *shader = new PixelShader(this, ShaderTokens(function));
  return D_D3D_OK;
}

}  // namespace wqplat
