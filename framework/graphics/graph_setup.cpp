// Storage of new graphs. On the device an image is a grid of power-of-two
// textures (the sizes from the texture-piece cut, the y list outer); a graph
// shows the part of each texture that overlaps its rectangle. On the
// software screen the image is one MEMIMG and a graph a view into it.
#include "graphics/graph_setup.h"

#include <cstring>

#include "WqLib.h"
#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/texture_formats.h"
#include "graphics/vertex_batch.h"

namespace {

int FullMipChain(int width, int height) {
  int levels = 1;
  while (width > 1 || height > 1) {
    width = width > 1 ? width / 2 : 1;
    height = height > 1 ? height / 2 : 1;
    ++levels;
  }
  return levels;
}

// The texture grid of an image on the device, or null after the log line.
GraphImageInfo* AllocDeviceImageInfo(int width, int height) {
  const int columns = ComputeTexturePieceSize(width, nullptr, GraphCreation().oneTexture);
  const int rows = ComputeTexturePieceSize(height, nullptr, GraphCreation().oneTexture);
  auto* info = static_cast<GraphImageInfo*>(TrackedAllocZero(
      sizeof(GraphImageInfo) + sizeof(GraphTextureEntry) * columns * rows + sizeof(int) * (columns + rows),
      __FILE__, __LINE__));
  if (info == nullptr) return nullptr;
  info->entries = reinterpret_cast<GraphTextureEntry*>(info + 1);
  int* columnSizes = reinterpret_cast<int*>(info->entries + columns * rows);
  int* rowSizes = columnSizes + columns;
  ComputeTexturePieceSize(width, columnSizes, GraphCreation().oneTexture);
  ComputeTexturePieceSize(height, rowSizes, GraphCreation().oneTexture);
  info->entryCount = columns * rows;
  int y = 0;
  for (int row = 0; row < rows; ++row) {
    int x = 0;
    for (int column = 0; column < columns; ++column) {
      GraphTextureEntry& entry = info->entries[row * columns + column];
      entry.x = x;
      entry.y = y;
      entry.textureWidth = columnSizes[column];
      entry.textureHeight = rowSizes[row];
      entry.usedWidth = width - x < entry.textureWidth ? width - x : entry.textureWidth;
      entry.usedHeight = height - y < entry.textureHeight ? height - y : entry.textureHeight;
      x += columnSizes[column];
    }
    y += rowSizes[row];
  }
  return info;
}

int ClassifyImageInfo(const GraphImageInfo& info) {
  ColorFormat layout{};
  layout.bits = info.colorBits;
  layout.alphaWidth = info.alphaChannel ? 8 : 0;
  return ClassifyColorFormat(&layout, info.alphaTest, info.drawable);
}

int FailSetup(int handle, const char* message) {
  if (message != nullptr) LogWrite(message);
  DeleteGraph(handle);
  return -1;
}

// Clears every level of a texture that is not a render target.
void ClearTextureLevels(D_IDirect3DTexture9* texture, int height) {
  const DWORD levels = texture->GetLevelCount();
  for (DWORD level = 0; level < levels; ++level) {
    D_D3DLOCKED_RECT locked{};
    if (texture->LockRect(level, &locked, nullptr, 0) != 0) continue;
    const int rows = height >> level > 0 ? height >> level : 1;
    std::memset(locked.pBits, 0, static_cast<std::size_t>(locked.Pitch) * rows);
    texture->UnlockRect(level);
  }
}

}  // namespace

int CreateGraphTextures(GraphImageInfo* info) {
  D_IDirect3DDevice9* device = Device();
  if (device == nullptr) return -1;
  if (!info->inTextures) return 0;
  const D_D3DFORMAT format = Graphics().textureFormats[info->formatIndex];
  if (format == 0) return LogWrite("指定のフォーマットで作成できるテクスチャフォーマットがありませんでした\n"), -1;
  const bool defaultPool = info->drawable || info->systemMemoryCopy;
  for (int i = 0; i < info->entryCount; ++i) {
    GraphTextureEntry& entry = info->entries[i];
    if (entry.texture != nullptr) continue;
    if (device->CreateTexture(entry.textureWidth, entry.textureHeight, info->mipLevels,
                              info->drawable ? D_D3DUSAGE_RENDERTARGET : 0, format,
                              defaultPool ? D_D3DPOOL_DEFAULT : D_D3DPOOL_MANAGED, &entry.texture, nullptr) != 0) {
      entry.texture = nullptr;
      return LogWrite("書き込み専用テクスチャの作成に失敗しました\n"), -1;
    }
    if (info->systemMemoryCopy && !info->drawable &&
        device->CreateTexture(entry.textureWidth, entry.textureHeight, info->mipLevels, 0x200, format,
                              D_D3DPOOL_SYSTEMMEM, &entry.memoryTwin, nullptr) != 0) {
      entry.memoryTwin = nullptr;
      ReleaseObject(&entry.texture);
      return LogWrite("メモリテクスチャの作成に失敗しました\n"), -1;
    }
    if (entry.texture->GetSurfaceLevel(0, &entry.surface) != 0) {
      entry.surface = nullptr;
      return LogWrite("テクスチャのサーフェスアドレスの取得に失敗しました\n"), -1;
    }
    if (info->drawable) {
      device->ColorFill(entry.surface, nullptr, 0);
    } else if (info->formatIndex < kTexFormatDxt1 || info->formatIndex > kTexFormatDxt5) {
      ClearTextureLevels(entry.memoryTwin != nullptr ? entry.memoryTwin : entry.texture, entry.textureHeight);
      if (entry.memoryTwin != nullptr) device->UpdateTexture(entry.memoryTwin, entry.texture);
    }
  }
  return 0;
}

void ReleaseImageInfoTextures(GraphImageInfo* info) {
  if (!info->inTextures) return;
  for (int i = 0; i < info->entryCount; ++i) {
    GraphTextureEntry& entry = info->entries[i];
    ReleaseObject(&entry.renderSurface);
    ReleaseObject(&entry.surface);
    ReleaseObject(&entry.texture);
    ReleaseObject(&entry.memoryTwin);
  }
}

int CreateSoftwareImage(GraphImageInfo* info, int colorBits) {
  info->inTextures = 0;
  info->software = 1;
  info->mipLevels = 0;
  info->alphaTest = 0;
  info->colorBits = static_cast<std::uint8_t>(colorBits);
  info->transparentColorUsed = static_cast<std::uint8_t>(!info->alphaChannel);
  const int type = info->blendImage ? kMemImgChannel8 : colorBits == 16 ? kMemImgRgb565 : kMemImgRgb32;
  info->formatIndex = type;
  const std::uint32_t key = info->transparentColorUsed
                                ? EncodeFormatPixel(GetMemImgColorFormat(type, 0, 0), info->transparentColor >> 16 & 0xFF,
                                                    info->transparentColor >> 8 & 0xFF, info->transparentColor & 0xFF, 255)
                                : 0xFFFF;
  if (CreateMemImg(&info->image, info->width, info->height, -1, key, type, 0, info->alphaChannel, 0, nullptr) == 0)
    return 0;
  return LogWrite(info->blendImage ? "ブレンド画像用メモリイメージの作成に失敗しました\n"
                                   : "メモリイメージの作成に失敗しました\n"),
         -1;
}

int SetupGraphRecord(int mipLevels, int handle, int width, int height, int alphaFlag, int alphaTestFlag) {
  GraphRecord* record = FindGraphRecord(handle);
  if (record == nullptr) return -1;
  const bool device = HardwareRendererInUse();
  if (mipLevels == -1) mipLevels = GraphCreation().defaultMipLevels;
  if (mipLevels == -1) mipLevels = FullMipChain(width, height);

  GraphImageInfo* info = nullptr;
  if (device) {
    info = AllocDeviceImageInfo(width, height);
  } else {
    info = static_cast<GraphImageInfo*>(TrackedAllocZero(sizeof(GraphImageInfo), __FILE__, __LINE__));
  }
  if (info == nullptr)
    return FailSetup(handle, "グラフィックのオリジナル画像データ保存用メモリの確保に失敗しました\n");
  record->image = info;
  info->refCount = 1;
  info->inTextures = device ? 1 : 0;
  info->software = device ? 0 : 1;
  if (GraphCreation().movieFlag) {
    info->drawable = 1;
    info->systemMemoryCopy = 1;
  } else {
    info->alphaChannel = static_cast<std::uint8_t>(alphaFlag != 0);
    info->alphaTest = static_cast<std::uint8_t>(alphaTestFlag != 0);
    info->systemMemoryCopy = static_cast<std::uint8_t>(GraphCreation().systemMemCopyFlag != 0);
    info->createDrawableFlag = static_cast<std::uint8_t>(device && alphaFlag ? 0 : GraphCreation().drawableFlag != 0);
    info->drawable = static_cast<std::uint8_t>(!device && !GraphCreation().blendImageFlag);
    info->mipLevels = static_cast<std::uint8_t>(mipLevels);
  }
  const int screenBits = Screen().colorBits == 16 ? 16 : 32;
  if (device) {
    info->colorBits = static_cast<std::uint8_t>(GraphCreation().colorBits ? GraphCreation().colorBits
                                                : alphaFlag            ? 32
                                                                       : screenBits);
  }
  info->blendImage = static_cast<std::uint8_t>(GraphCreation().blendImageFlag != 0);
  info->transparentColor = TransparentColor;
  info->width = width;
  info->height = height;
  record->width = width;
  record->height = height;

  if (device) {
    info->formatIndex = ClassifyImageInfo(*info);
    if (CreateGraphTextures(info) != 0) return FailSetup(handle, nullptr);
  } else if (CreateSoftwareImage(info, GraphCreation().colorBits ? GraphCreation().colorBits : screenBits) != 0) {
    return FailSetup(handle, nullptr);
  }
  if (CreateGraphTextureDrawInfo(handle) != 0) return FailSetup(handle, nullptr);
  return 0;
}

int CreateGraphTextureDrawInfo(int handle) {
  GraphRecord* record = FindGraphRecord(handle);
  if (record == nullptr || record->image == nullptr) return -1;
  GraphImageInfo* info = record->image;
  if (!info->inTextures) {
    MakeMemImgView(&record->view, &info->image, record->imageX, record->imageY, record->width, record->height);
    return 0;
  }
  const int left = record->imageX, top = record->imageY;
  const int right = left + record->width, bottom = top + record->height;
  auto overlaps = [&](const GraphTextureEntry& e) {
    return e.x < right && e.x + e.usedWidth > left && e.y < bottom && e.y + e.usedHeight > top;
  };
  int count = 0;
  for (int i = 0; i < info->entryCount; ++i) count += overlaps(info->entries[i]) ? 1 : 0;
  auto* pieces = static_cast<GraphTexturePiece*>(TrackedAllocZero(sizeof(GraphTexturePiece) * count, __FILE__, __LINE__));
  if (pieces == nullptr && count > 0) {
    LogWrite("画像描画情報格納用メモリの確保に失敗しました\n");
    return LogWrite("テクスチャ描画情報の作成に失敗しました\n"), -1;
  }
  TrackedFree(record->pieces);
  record->pieces = pieces;
  record->pieceCount = count;
  for (int i = 0; i < info->entryCount; ++i) {
    GraphTextureEntry& entry = info->entries[i];
    if (!overlaps(entry)) continue;
    GraphTexturePiece& piece = *pieces++;
    const int x0 = entry.x > left ? entry.x : left;
    const int y0 = entry.y > top ? entry.y : top;
    const int x1 = entry.x + entry.usedWidth < right ? entry.x + entry.usedWidth : right;
    const int y1 = entry.y + entry.usedHeight < bottom ? entry.y + entry.usedHeight : bottom;
    piece.entry = &entry;
    piece.destX = x0 - left;
    piece.destY = y0 - top;
    piece.sourceX = x0 - entry.x;
    piece.sourceY = y0 - entry.y;
    piece.width = x1 - x0;
    piece.height = y1 - y0;
    for (int corner = 0; corner < 4; ++corner) {
      const int right = corner & 1, lower = corner >> 1;
      float* v = piece.vertices[corner];
      v[0] = static_cast<float>(piece.destX + right * piece.width);
      v[1] = static_cast<float>(piece.destY + lower * piece.height);
      v[2] = static_cast<float>(piece.sourceX + right * piece.width) / static_cast<float>(entry.textureWidth);
      v[3] = static_cast<float>(piece.sourceY + lower * piece.height) / static_cast<float>(entry.textureHeight);
      // Which side of the graph's top-left to bottom-right diagonal the corner lies on.
      piece.diagonalSide[corner] = static_cast<std::uint8_t>(
          v[0] * static_cast<float>(record->height) > v[1] * static_cast<float>(record->width) ? 1 : 0);
    }
  }
  return 0;
}
