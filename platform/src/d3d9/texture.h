// Mip-mapped 2D textures: one OpenGL texture (none in system memory) whose
// levels are surfaces counted on the texture.
#pragma once

#include <memory>
#include <vector>

#include "d3d9/surface.h"

namespace wqplat {

class Texture final : public DeviceChild<D_IDirect3DTexture9> {
 public:
  // Null when the GL texture cannot be made.
  static Texture* Create(D_IDirect3DDevice9* device, std::shared_ptr<const GlContextLink> gl,
                         int width, int height, int levels, DWORD usage, const PixelFormat& format,
                         D_D3DPOOL pool);
  ~Texture() override;

  D_D3DRESOURCETYPE GetType() override { return D_D3DRTYPE_TEXTURE; }
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT level, D_D3DSURFACE_DESC* desc) override;
  HRESULT GetSurfaceLevel(UINT level, D_IDirect3DSurface9** surface) override;
  HRESULT LockRect(UINT level, D_D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  GLuint gl_texture() const { return gl_texture_; }
  const PixelFormat& format() const { return format_; }
  Surface& level(std::size_t index) { return *levels_[index]; }
  // Uploads levels whose memory image was written since.
  void PrepareForSampling();

 private:
  Texture(D_IDirect3DDevice9* device, std::shared_ptr<const GlContextLink> gl,
          const PixelFormat& format, GLuint gl_texture);

  std::shared_ptr<const GlContextLink> gl_;
  const PixelFormat& format_;
  GLuint gl_texture_;
  std::vector<std::unique_ptr<Surface>> levels_;
};

// The levels a texture is given: its whole chain down to 1 x 1 when 0 are
// asked for, otherwise as many as asked up to that chain's length.
int MipLevelCount(UINT requested, UINT largest_side);

}  // namespace wqplat
