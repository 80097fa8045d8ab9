// Clears and copies between surfaces and textures.
#include <algorithm>
#include <cstring>

#include "d3d9/d3d9_controls.h"
#include "d3d9/device.h"
#include "d3d9/gl_state_names.h"
#include "d3d9/texture.h"
#include "d3d9/volume_texture.h"

namespace wqplat {
namespace {

bool SameSize(const Surface& a, const Surface& b) {
  return a.width() == b.width() && a.height() == b.height();
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ClearColor(D_D3DCOLOR color) {
  float rgba[4];
  ArgbToFloats(color, rgba);
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}

// Copies whole rows of the memory image (block rows for DXT) from one
// surface to another of the same format.
void CopyMemoryRect(Surface& source, const RECT& from, Surface& dest, POINT to) {
  const PixelFormat& format = source.format();
  int block = format.kind == FormatKind::kBlock ? 4 : 1;
  int rows = (from.bottom - from.top + block - 1) / block;
  std::size_t bytes = static_cast<std::size_t>(RowBytes(format, from.right - from.left));
  for (int row = 0; row < rows; ++row) {
    std::memcpy(dest.memory() + static_cast<std::ptrdiff_t>(to.y / block + row) * dest.pitch() +
                    (to.x / block) * format.bytes,
                source.memory() + static_cast<std::ptrdiff_t>(from.top / block + row) * source.pitch() +
                    (from.left / block) * format.bytes,
                bytes);
  }
  dest.MarkMemoryNewer();
}

}  // namespace

HRESULT Device::Clear(DWORD count, const D_D3DRECT* rects, DWORD flags, D_D3DCOLOR color, float z,
                      DWORD /*stencil*/) {
  bool depth = (flags & D_D3DCLEAR_ZBUFFER) != 0;
  if (D3d9CallFails("Clear") || (flags & D_D3DCLEAR_STENCIL) || (depth && !depth_stencil_)) {
    return D_D3DERR_INVALIDCALL;
  }
  // As in Direct3D: rectangles without a count clear nothing, a count
  // without rectangles clears the whole viewport.
  if (count == 0 && rects) return D_D3D_OK;
  UseGl();
  render_target_->UploadIfStale();
  BindTarget();
  GLbitfield mask = 0;
  if (flags & D_D3DCLEAR_TARGET) {
    mask |= GL_COLOR_BUFFER_BIT;
    gl_state_.ColorMask(0xF);
    ClearColor(color);
    render_target_->MarkGpuNewer();
  }
  if (depth) {
    mask |= GL_DEPTH_BUFFER_BIT;
    gl_state_.DepthMask(true);
    glClearDepth(std::clamp(z, 0.0f, 1.0f));
    depth_stencil_->MarkGpuNewer();
  }
  if (!rects) {
    ApplyScissor(nullptr);
    glClear(mask);
    return D_D3D_OK;
  }
  for (DWORD i = 0; i < count; ++i) {
    RECT area{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2};
    ApplyScissor(&area);
    glClear(mask);
  }
  return D_D3D_OK;
}

HRESULT Device::StretchRect(D_IDirect3DSurface9* source, const RECT* source_rect,
                            D_IDirect3DSurface9* dest, const RECT* dest_rect,
                            D_D3DTEXTUREFILTERTYPE filter) {
  auto* from = dynamic_cast<Surface*>(source);
  auto* to = dynamic_cast<Surface*>(dest);
  RECT from_rect{};
  RECT to_rect{};
  if (D3d9CallFails("StretchRect") || !from || !to || from->desc().Pool != D_D3DPOOL_DEFAULT ||
      to->desc().Pool != D_D3DPOOL_DEFAULT || from->format().kind != FormatKind::kColor ||
      to->format().kind != FormatKind::kColor || !ResolveRect(*from, source_rect, &from_rect) ||
      !ResolveRect(*to, dest_rect, &to_rect) || (from == to && Overlap(from_rect, to_rect)) ||
      from->locked() || to->locked()) {
    return D_D3DERR_INVALIDCALL;
  }
  // Direct3D copies into render targets and render-target textures; into a
  // plain offscreen surface only from another one, without stretching.
  bool to_target = (to->desc().Usage & D_D3DUSAGE_RENDERTARGET) != 0;
  bool from_plain = !from->is_texture_level() && !(from->desc().Usage & D_D3DUSAGE_RENDERTARGET);
  bool same_size = from_rect.right - from_rect.left == to_rect.right - to_rect.left &&
                   from_rect.bottom - from_rect.top == to_rect.bottom - to_rect.top;
  if (!to_target && (to->is_texture_level() || !from_plain || !same_size)) {
    return D_D3DERR_INVALIDCALL;
  }
  UseGl();
  from->UploadIfStale();
  to->UploadIfStale();
  gl_state_.Enable(GL_SCISSOR_TEST, false);  // blits obey the scissor
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from->framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to->framebuffer());
  bound_framebuffer_ = 0;
  glBlitFramebuffer(from_rect.left, from_rect.top, from_rect.right, from_rect.bottom, to_rect.left,
                    to_rect.top, to_rect.right, to_rect.bottom, GL_COLOR_BUFFER_BIT,
                    filter >= D_D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  if (!from->format().has_alpha && to->format().has_alpha) {
    // The copy carried the source's stored alpha, which means nothing there:
    // the copied pixels are opaque.
    gl_state_.Enable(GL_SCISSOR_TEST, true);
    gl_state_.Scissor(to_rect.left, to_rect.top, to_rect.right - to_rect.left,
                      to_rect.bottom - to_rect.top);
    gl_state_.ColorMask(0x8);
    ClearColor(0xFF000000u);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  to->MarkGpuNewer();
  return D_D3D_OK;
}

HRESULT Device::GetRenderTargetData(D_IDirect3DSurface9* render_target,
                                    D_IDirect3DSurface9* dest) {
  auto* from = dynamic_cast<Surface*>(render_target);
  auto* to = dynamic_cast<Surface*>(dest);
  if (D3d9CallFails("GetRenderTargetData") || !from || !to || !from->on_gpu() || to->on_gpu() ||
      !SameSize(*from, *to) || &from->format() != &to->format() ||
      from->format().kind != FormatKind::kColor || to->locked()) {
    return D_D3DERR_INVALIDCALL;
  }
  from->ReadBackIfStale();
  CopyMemoryRect(*from, RECT{0, 0, from->width(), from->height()}, *to, POINT{0, 0});
  return D_D3D_OK;
}

HRESULT Device::UpdateSurface(D_IDirect3DSurface9* source, const RECT* source_rect,
                              D_IDirect3DSurface9* dest, const POINT* dest_point) {
  auto* from = dynamic_cast<Surface*>(source);
  auto* to = dynamic_cast<Surface*>(dest);
  RECT area{};
  if (D3d9CallFails("UpdateSurface") || !from || !to || from->on_gpu() || !to->on_gpu() ||
      &from->format() != &to->format() || !ResolveRect(*from, source_rect, &area)) {
    return D_D3DERR_INVALIDCALL;
  }
  POINT at = dest_point ? *dest_point : POINT{0, 0};
  RECT target{at.x, at.y, at.x + (area.right - area.left), at.y + (area.bottom - area.top)};
  RECT inside{};
  int block = from->format().kind == FormatKind::kBlock ? 4 : 1;
  if (!ResolveRect(*to, &target, &inside) || ((area.left | area.top | at.x | at.y) % block) != 0) {
    return D_D3DERR_INVALIDCALL;
  }
  to->ReadBackIfStale();
  CopyMemoryRect(*from, area, *to, at);
  return D_D3D_OK;
}

HRESULT Device::UpdateTexture(D_IDirect3DBaseTexture9* source, D_IDirect3DBaseTexture9* dest) {
  if (D3d9CallFails("UpdateTexture") || !source || !dest) return D_D3DERR_INVALIDCALL;
  auto* source_volume = dynamic_cast<VolumeTexture*>(source);
  auto* dest_volume = dynamic_cast<VolumeTexture*>(dest);
  if (source_volume || dest_volume) {
    return source_volume && dest_volume && dest_volume->CopyFrom(*source_volume)
               ? D_D3D_OK
               : D_D3DERR_INVALIDCALL;
  }
  auto* from = dynamic_cast<Texture*>(source);
  auto* to = dynamic_cast<Texture*>(dest);
  if (!from || !to || from->gl_texture() || !to->gl_texture() ||
      &from->format() != &to->format() || from->GetLevelCount() < to->GetLevelCount()) {
    return D_D3DERR_INVALIDCALL;
  }
  for (DWORD level = 0; level < to->GetLevelCount(); ++level) {
    if (!SameSize(from->level(level), to->level(level))) return D_D3DERR_INVALIDCALL;
  }
  for (DWORD level = 0; level < to->GetLevelCount(); ++level) {
    Surface& target = to->level(level);
    CopyMemoryRect(from->level(level), RECT{0, 0, target.width(), target.height()}, target,
                   POINT{0, 0});
  }
  return D_D3D_OK;
}

HRESULT Device::ColorFill(D_IDirect3DSurface9* surface, const RECT* rect, D_D3DCOLOR color) {
  auto* target = dynamic_cast<Surface*>(surface);
  RECT area{};
  // Direct3D fills default-pool surfaces: render targets, plain offscreen
  // surfaces and the levels of render-target textures.
  if (D3d9CallFails("ColorFill") || !target || target->desc().Pool != D_D3DPOOL_DEFAULT ||
      (target->is_texture_level() && !(target->desc().Usage & D_D3DUSAGE_RENDERTARGET)) ||
      target->format().kind != FormatKind::kColor || !ResolveRect(*target, rect, &area) ||
      target->locked()) {
    return D_D3DERR_INVALIDCALL;
  }
  UseGl();
  target->UploadIfStale();
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target->framebuffer());
  bound_framebuffer_ = 0;
  gl_state_.Enable(GL_SCISSOR_TEST, true);
  gl_state_.Scissor(area.left, area.top, area.right - area.left, area.bottom - area.top);
  gl_state_.ColorMask(0xF);
  ClearColor(color);
  glClear(GL_COLOR_BUFFER_BIT);
  target->MarkGpuNewer();
  return D_D3D_OK;
}

}  // namespace wqplat
