// A Direct3D surface: a memory image in the Direct3D layout (rows top-down)
// and, unless it lives in system memory, one level of an OpenGL texture.
// Whichever side was written last is copied to the other on demand.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "d3d9/device_child.h"
#include "d3d9/gl_context_link.h"
#include "d3d9/pixel_format.h"

namespace wqplat {

struct GlImage {
  GLuint texture = 0;  // 0: the surface lives in system memory only
  GLint level = 0;
};

class Surface final : public DeviceChild<D_IDirect3DSurface9> {
 public:
  // Takes ownership of the GL texture unless the surface is a texture's level.
  Surface(D_IDirect3DDevice9* device, Ownership ownership, DeviceChildCount* container,
          std::shared_ptr<const GlContextLink> gl, const D_D3DSURFACE_DESC& desc,
          const PixelFormat& format, GlImage image);
  ~Surface() override;

  D_D3DRESOURCETYPE GetType() override { return D_D3DRTYPE_SURFACE; }
  HRESULT GetDesc(D_D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(D_D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect() override;

  const D_D3DSURFACE_DESC& desc() const { return desc_; }
  const PixelFormat& format() const { return format_; }
  int width() const { return static_cast<int>(desc_.Width); }
  int height() const { return static_cast<int>(desc_.Height); }
  bool on_gpu() const { return image_.texture != 0; }
  bool is_texture_level() const { return !owns_texture_; }
  const GlImage& image() const { return image_; }
  bool locked() const { return locked_; }
  // A render target made without the lockable flag refuses LockRect, as in
  // Direct3D: its pixels are read through GetRenderTargetData instead.
  void RefuseLocks() { lockable_ = false; }
  std::uint8_t* memory() { return memory_.data(); }
  int pitch() const { return pitch_; }

  // A framebuffer object with this surface as its colour (or depth)
  // attachment, made on first use. GPU surfaces only.
  GLuint framebuffer();
  // The GL side has been drawn into; the memory image is stale.
  void MarkGpuNewer() { gpu_newer_ = true; }
  // The memory image has been written; the GL side is stale.
  void MarkMemoryNewer() { memory_newer_ = on_gpu(); }
  // Brings the stale side up to date.
  void UploadIfStale();
  void ReadBackIfStale();

 private:
  void UploadRows(int first_row, int row_count);

  std::shared_ptr<const GlContextLink> gl_;
  D_D3DSURFACE_DESC desc_;
  const PixelFormat& format_;
  GlImage image_;
  bool owns_texture_;
  GLuint framebuffer_ = 0;
  int pitch_;
  std::vector<std::uint8_t> memory_;
  bool gpu_newer_ = false;
  bool memory_newer_ = false;
  bool lockable_ = true;
  bool locked_ = false;
  bool locked_read_only_ = false;
  RECT locked_rect_{};
};

// A whole-surface rectangle, or the given one when it lies inside the surface
// and is not empty; false otherwise.
bool ResolveRect(const Surface& surface, const RECT* rect, RECT* resolved);

}  // namespace wqplat
