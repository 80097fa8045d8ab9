// The volume texture that maps a colour to the colour of the same hue and
// saturation at full brightness, for the programmable-shader draws.
#include <algorithm>
#include <cstring>

#include "graphics/graphics_start.h"

namespace {

constexpr int kVolumeSide = 128;
// Texels this close to black have no hue worth keeping: they map to white.
constexpr int kWhiteCorner = 8;

// Fills the source volume; false when it cannot be locked.
bool FillVolume(D_IDirect3DVolumeTexture9* source) {
  D_D3DLOCKED_BOX box{};
  if (FAILED(source->LockBox(0, &box, nullptr, 0))) return false;
  auto* bits = static_cast<std::uint8_t*>(box.pBits);
  for (int z = 0; z < kVolumeSide; ++z) {
    for (int y = 0; y < kVolumeSide; ++y) {
      std::uint8_t* row =
          bits + static_cast<std::ptrdiff_t>(z) * box.SlicePitch + static_cast<std::ptrdiff_t>(y) * box.RowPitch;
      for (int x = 0; x < kVolumeSide; ++x) {
        std::uint8_t r = 255, g = 255, b = 255;
        if (x >= kWhiteCorner || y >= kWhiteCorner || z >= kWhiteCorner)
          ComputeMaxBrightnessColor(2 * x, 2 * y, 2 * z, &r, &g, &b);
        const std::uint8_t texel[4] = {b, g, r, 255};
        std::memcpy(row + x * 4, texel, 4);
      }
    }
  }
  source->UnlockBox(0);
  return true;
}

}  // namespace

void ComputeMaxBrightnessColor(int r, int g, int b, std::uint8_t* outR, std::uint8_t* outG, std::uint8_t* outB) {
  int in[3] = {std::min(r, 255), std::min(g, 255), std::min(b, 255)};
  int out[3] = {255, 255, 255};
  if (in[0] + in[1] + in[2] != 0 && !(in[0] == in[1] && in[1] == in[2])) {
    int order[3] = {0, 1, 2};  // indexes sorted by value, largest first
    std::sort(order, order + 3, [&](int a, int c) { return in[a] > in[c]; });
    const int max = in[order[0]], mid = in[order[1]], min = in[order[2]];
    const int saturation = (max - min) * 255 / max;
    out[order[0]] = 255;
    out[order[2]] = 255 - saturation;
    out[order[1]] = 255 - saturation * (255 - (mid - min) * 255 / (max - min)) / 255;
  }
  *outR = static_cast<std::uint8_t>(out[0]);
  *outG = static_cast<std::uint8_t>(out[1]);
  *outB = static_cast<std::uint8_t>(out[2]);
}

int CreateBrightnessVolumeTexture() {
  GraphicsState& g = Graphics();
  ReleaseObject(&g.brightnessVolume);
  if (FAILED(g.device->CreateVolumeTexture(kVolumeSide, kVolumeSide, kVolumeSide, 1, 0, D_D3DFMT_X8R8G8B8,
                                           D_D3DPOOL_DEFAULT, &g.brightnessVolume, nullptr))) {
    g.brightnessVolume = nullptr;
    return LogWrite("RGBカラーを輝度を最大にしたRGB値に変換するためのボリュームテクスチャの作成に失敗しました\n");
  }
  D_IDirect3DVolumeTexture9* source = nullptr;
  if (FAILED(g.device->CreateVolumeTexture(kVolumeSide, kVolumeSide, kVolumeSide, 1, 0, D_D3DFMT_X8R8G8B8,
                                           D_D3DPOOL_SYSTEMMEM, &source, nullptr))) {
    ReleaseObject(&g.brightnessVolume);
    return LogWrite(
        "RGBカラーを輝度を最大にしたRGB値に変換するための転送元用ボリュームテクスチャの作成に失敗しました\n");
  }
  if (!FillVolume(source)) {
    source->Release();
    ReleaseObject(&g.brightnessVolume);
    return LogWrite(
        "RGBカラーを輝度を最大にしたRGB値に変換するための転送元用ボリュームテクスチャのロックに失敗しました\n");
  }
  g.device->UpdateTexture(source, g.brightnessVolume);
  source->Release();
  return 0;
}
