#include "d3d9/surface.h"

#include "d3d9/gl_state_cache.h"
#include "d3d9/gl_texture.h"

namespace wqplat {

Surface::Surface(D_IDirect3DDevice9* device, Ownership ownership, DeviceChildCount* container,
                 std::shared_ptr<const GlContextLink> gl, const D_D3DSURFACE_DESC& desc,
                 const PixelFormat& format, GlImage image)
    : DeviceChild(device, ownership, container),
      gl_(std::move(gl)),
      desc_(desc),
      format_(format),
      image_(image),
      owns_texture_(container == nullptr),
      pitch_(RowPitch(format, static_cast<int>(desc.Width))),
      memory_(static_cast<std::size_t>(pitch_) * RowCount(format, static_cast<int>(desc.Height))) {}

Surface::~Surface() {
  if (!framebuffer_ && !(owns_texture_ && image_.texture)) return;
  gl_->MakeCurrent();
  if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
  if (owns_texture_ && image_.texture) glDeleteTextures(1, &image_.texture);
}

HRESULT Surface::GetDesc(D_D3DSURFACE_DESC* desc) {
  if (!desc) return D_D3DERR_INVALIDCALL;
  *desc = desc_;
  return D_D3D_OK;
}

bool ResolveRect(const Surface& surface, const RECT* rect, RECT* resolved) {
  if (!rect) {
    *resolved = RECT{0, 0, surface.width(), surface.height()};
    return true;
  }
  if (rect->left < 0 || rect->top < 0 || rect->right > surface.width() ||
      rect->bottom > surface.height() || rect->left >= rect->right || rect->top >= rect->bottom) {
    return false;
  }
  *resolved = *rect;
  return true;
}

HRESULT Surface::LockRect(D_D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  RECT area{};
  if (!locked || locked_ || !ResolveRect(*this, rect, &area)) return D_D3DERR_INVALIDCALL;
  if (format_.kind == FormatKind::kDepth || !lockable_) return D_D3DERR_INVALIDCALL;
  // Block rows start on whole blocks; scratch surfaces, which the device
  // never uploads, take any rectangle and point at the block holding its corner.
  if (format_.kind == FormatKind::kBlock && desc_.Pool != D_D3DPOOL_SCRATCH &&
      ((area.left | area.top) & 3) != 0) {
    return D_D3DERR_INVALIDCALL;
  }
  if (!(flags & D_D3DLOCK_DISCARD)) ReadBackIfStale();
  gpu_newer_ = false;
  int block = format_.kind == FormatKind::kBlock ? 4 : 1;
  locked->Pitch = pitch_;
  locked->pBits = memory_.data() + static_cast<std::ptrdiff_t>(area.top / block) * pitch_ +
                  (area.left / block) * format_.bytes;
  locked_ = true;
  locked_read_only_ = (flags & D_D3DLOCK_READONLY) != 0;
  locked_rect_ = area;
  return D_D3D_OK;
}

HRESULT Surface::UnlockRect() {
  if (!locked_) return D_D3DERR_INVALIDCALL;
  locked_ = false;
  if (locked_read_only_ || !on_gpu()) return D_D3D_OK;
  gl_->MakeCurrent();
  // Only the locked rows changed, unless an earlier copy into the memory
  // image is still waiting to go up: then every row goes.
  if (format_.kind == FormatKind::kBlock || memory_newer_) {
    UploadRows(0, height());
  } else {
    UploadRows(locked_rect_.top, locked_rect_.bottom - locked_rect_.top);
  }
  return D_D3D_OK;
}

void Surface::UploadIfStale() {
  if (!memory_newer_) return;
  UploadRows(0, height());
}

void Surface::UploadRows(int first_row, int row_count) {
  memory_newer_ = false;
  BindTextureOutsideDraws(image_.texture);
  if (format_.kind == FormatKind::kBlock) {
    glCompressedTexSubImage2D(GL_TEXTURE_2D, image_.level, 0, 0, width(), height(),
                              format_.internal_format, static_cast<GLsizei>(memory_.size()),
                              memory_.data());
    return;
  }
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(width()) * row_count);
  for (int row = 0; row < row_count; ++row) {
    ConvertToArgb(format_, memory_.data() + static_cast<std::ptrdiff_t>(first_row + row) * pitch_,
                  width(), argb.data() + static_cast<std::ptrdiff_t>(row) * width());
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexSubImage2D(GL_TEXTURE_2D, image_.level, 0, first_row, width(), row_count, kArgbFormat,
                  kArgbType, argb.data());
}

void Surface::ReadBackIfStale() {
  if (!gpu_newer_ || format_.kind != FormatKind::kColor) return;
  gpu_newer_ = false;
  gl_->MakeCurrent();
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(width()) * height());
  GLint previous = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width(), height(), kArgbFormat, kArgbType, argb.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, previous);
  if (!format_.has_alpha) {
    for (std::uint32_t& pixel : argb) pixel |= 0xFF000000u;
  }
  for (int row = 0; row < height(); ++row) {
    ConvertFromArgb(format_, argb.data() + static_cast<std::ptrdiff_t>(row) * width(), width(),
                    memory_.data() + static_cast<std::ptrdiff_t>(row) * pitch_);
  }
}

GLuint Surface::framebuffer() {
  if (framebuffer_) return framebuffer_;
  GLint previous = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
  GLenum attachment =
      format_.kind == FormatKind::kDepth ? GL_DEPTH_ATTACHMENT : GL_COLOR_ATTACHMENT0;
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, attachment, GL_TEXTURE_2D, image_.texture,
                         image_.level);
  if (format_.kind == FormatKind::kDepth) glDrawBuffer(GL_NONE);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, previous);
  return framebuffer_;
}

}  // namespace wqplat
