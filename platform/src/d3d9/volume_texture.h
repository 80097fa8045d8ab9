// Volume textures, kept in memory: the device draws with the fixed-function
// stages, which sample 2D textures only, so a volume is filled, copied and
// read back but never sampled.
#pragma once

#include <vector>

#include "d3d9/device_child.h"
#include "d3d9/pixel_format.h"

namespace wqplat {

class VolumeTexture final : public DeviceChild<D_IDirect3DVolumeTexture9> {
 public:
  VolumeTexture(D_IDirect3DDevice9* device, int width, int height, int depth, int levels,
                DWORD usage, const PixelFormat& format, D_D3DPOOL pool);

  D_D3DRESOURCETYPE GetType() override { return D_D3DRTYPE_VOLUMETEXTURE; }
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT level, D_D3DVOLUME_DESC* desc) override;
  HRESULT LockBox(UINT level, D_D3DLOCKED_BOX* locked, const D_D3DBOX* box, DWORD flags) override;
  HRESULT UnlockBox(UINT level) override;

  // Copies every level from a volume of the same shape; false otherwise.
  bool CopyFrom(const VolumeTexture& source);

 private:
  struct Level {
    D_D3DVOLUME_DESC desc;
    int row_pitch;
    int slice_pitch;
    std::vector<std::uint8_t> memory;
    bool locked;
  };

  const PixelFormat& format_;
  std::vector<Level> levels_;
};

}  // namespace wqplat
