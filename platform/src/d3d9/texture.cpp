#include "d3d9/texture.h"

#include <algorithm>

#include "d3d9/gl_texture.h"

namespace wqplat {

int MipLevelCount(UINT requested, UINT largest_side) {
  UINT full = 1;
  for (UINT size = largest_side; size > 1; size >>= 1) ++full;
  return static_cast<int>(requested == 0 ? full : std::min(requested, full));
}

Texture* Texture::Create(D_IDirect3DDevice9* device, std::shared_ptr<const GlContextLink> gl,
                         int width, int height, int levels, DWORD usage, const PixelFormat& format,
                         D_D3DPOOL pool) {
  bool on_gpu = pool != D_D3DPOOL_SYSTEMMEM && pool != D_D3DPOOL_SCRATCH;
  GLuint gl_texture = 0;
  if (on_gpu) {
    gl->MakeCurrent();
    gl_texture = CreateGlTexture(format, width, height, levels);
    if (!gl_texture) return nullptr;
  }
  auto* texture = new Texture(device, gl, format, gl_texture);
  for (int level = 0; level < levels; ++level) {
    D_D3DSURFACE_DESC desc{format.format,           D_D3DRTYPE_SURFACE,
                           usage,                   pool,
                           D_D3DMULTISAMPLE_NONE,   0,
                           static_cast<UINT>(std::max(1, width >> level)),
                           static_cast<UINT>(std::max(1, height >> level))};
    texture->levels_.push_back(std::make_unique<Surface>(
        device, Ownership::kDevice, texture, gl, desc, format, GlImage{gl_texture, level}));
  }
  return texture;
}

Texture::Texture(D_IDirect3DDevice9* device, std::shared_ptr<const GlContextLink> gl,
                 const PixelFormat& format, GLuint gl_texture)
    : DeviceChild(device, Ownership::kCaller), gl_(std::move(gl)), format_(format),
      gl_texture_(gl_texture) {}

Texture::~Texture() {
  levels_.clear();
  if (!gl_texture_) return;
  gl_->MakeCurrent();
  glDeleteTextures(1, &gl_texture_);
}

HRESULT Texture::GetLevelDesc(UINT level, D_D3DSURFACE_DESC* desc) {
  if (level >= levels_.size()) return D_D3DERR_INVALIDCALL;
  return levels_[level]->GetDesc(desc);
}

HRESULT Texture::GetSurfaceLevel(UINT level, D_IDirect3DSurface9** surface) {
  if (!surface || level >= levels_.size()) return D_D3DERR_INVALIDCALL;
  *surface = levels_[level].get();
  (*surface)->AddRef();
  return D_D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D_D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (level >= levels_.size()) return D_D3DERR_INVALIDCALL;
  return levels_[level]->LockRect(locked, rect, flags);
}

HRESULT Texture::UnlockRect(UINT level) {
  if (level >= levels_.size()) return D_D3DERR_INVALIDCALL;
  return levels_[level]->UnlockRect();
}

void Texture::PrepareForSampling() {
  for (auto& level : levels_) level->UploadIfStale();
}

}  // namespace wqplat
