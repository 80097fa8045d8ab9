#include "d3d9/volume_texture.h"

#include <algorithm>

namespace wqplat {

VolumeTexture::VolumeTexture(D_IDirect3DDevice9* device, int width, int height, int depth,
                             int levels, DWORD usage, const PixelFormat& format, D_D3DPOOL pool)
    : DeviceChild(device, Ownership::kCaller), format_(format) {
  for (int level = 0; level < levels; ++level) {
    int w = std::max(1, width >> level);
    int h = std::max(1, height >> level);
    int d = std::max(1, depth >> level);
    int row_pitch = RowPitch(format, w);
    levels_.push_back(Level{{format.format, D_D3DRTYPE_VOLUME, usage, pool, static_cast<UINT>(w),
                             static_cast<UINT>(h), static_cast<UINT>(d)},
                            row_pitch,
                            row_pitch * h,
                            std::vector<std::uint8_t>(static_cast<std::size_t>(row_pitch) * h * d),
                            false});
  }
}

HRESULT VolumeTexture::GetLevelDesc(UINT level, D_D3DVOLUME_DESC* desc) {
  if (!desc || level >= levels_.size()) return D_D3DERR_INVALIDCALL;
  *desc = levels_[level].desc;
  return D_D3D_OK;
}

HRESULT VolumeTexture::LockBox(UINT level, D_D3DLOCKED_BOX* locked, const D_D3DBOX* box,
                               DWORD /*flags*/) {
  if (!locked || level >= levels_.size() || levels_[level].locked) return D_D3DERR_INVALIDCALL;
  Level& target = levels_[level];
  std::size_t offset = 0;
  if (box) {
    if (box->Left >= box->Right || box->Top >= box->Bottom || box->Front >= box->Back ||
        box->Right > target.desc.Width || box->Bottom > target.desc.Height ||
        box->Back > target.desc.Depth) {
      return D_D3DERR_INVALIDCALL;
    }
    offset = static_cast<std::size_t>(box->Front) * target.slice_pitch +
             static_cast<std::size_t>(box->Top) * target.row_pitch + box->Left * format_.bytes;
  }
  target.locked = true;
  locked->RowPitch = target.row_pitch;
  locked->SlicePitch = target.slice_pitch;
  locked->pBits = target.memory.data() + offset;
  return D_D3D_OK;
}

HRESULT VolumeTexture::UnlockBox(UINT level) {
  if (level >= levels_.size() || !levels_[level].locked) return D_D3DERR_INVALIDCALL;
  levels_[level].locked = false;
  return D_D3D_OK;
}

bool VolumeTexture::CopyFrom(const VolumeTexture& source) {
  if (source.levels_.size() != levels_.size() || &source.format_ != &format_) return false;
  for (std::size_t level = 0; level < levels_.size(); ++level) {
    if (source.levels_[level].memory.size() != levels_[level].memory.size()) return false;
  }
  for (std::size_t level = 0; level < levels_.size(); ++level) {
    levels_[level].memory = source.levels_[level].memory;
  }
  return true;
}

}  // namespace wqplat
