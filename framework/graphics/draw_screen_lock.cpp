// The draw target read by the CPU: locking a rectangle of it as an image,
// and copying a rectangle of it into a graph.
//
// On the device the back buffer is read in place when start-up found that
// faster, else through a temporary render target copied to system memory.
#include "WqLib.h"
#include "core/base/log_file.h"
#include "graphics/draw_target.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/texture_formats.h"
#include "graphics/vertex_batch.h"
#include "image/pixel_convert.h"

namespace {

struct DrawScreenLock {
  int locked;
  D_IDirect3DSurface9* surface;  // locked: the target itself or a system-memory copy
};

DrawScreenLock g_lock;

void FlushAndEndScene() {
  FlushVertexBatch();
  EndDeviceScene();
}

bool InsideDrawTarget(const RECT& r) {
  return r.left >= 0 && r.left < r.right && r.right <= DrawTargetSize[0] && r.top >= 0 && r.top < r.bottom &&
         r.bottom <= DrawTargetSize[1];
}

void Describe(BaseImage* image, const ColorFormat& format, const RECT& r, void* pixels, std::uint32_t pitch) {
  *image = BaseImage{};
  image->format = format;
  image->width = r.right - r.left;
  image->height = r.bottom - r.top;
  image->pitch = pitch;
  image->pixels = pixels;
}

// The rectangle copied through a render target into a locked system-memory
// surface; 0 or -1 (logged, with what was made released).
int LockThroughCopy(D_IDirect3DSurface9* source, D_D3DFORMAT format, const RECT& r, D_D3DLOCKED_RECT* locked) {
  D_IDirect3DDevice9* device = Device();
  const UINT width = static_cast<UINT>(r.right - r.left), height = static_cast<UINT>(r.bottom - r.top);
  D_IDirect3DSurface9* target = nullptr;
  if (device->CreateRenderTarget(width, height, format, D_D3DMULTISAMPLE_NONE, 0, FALSE, &target, nullptr) != 0)
    return LogWrite("バックバッファロック用描画可能サーフェスの作成に失敗しました\n"), -1;
  D_IDirect3DSurface9* copy = nullptr;
  if (device->CreateOffscreenPlainSurface(width, height, format, D_D3DPOOL_SYSTEMMEM, &copy, nullptr) != 0) {
    target->Release();
    return LogWrite("バックバッファロック用システムメモリサーフェスの作成に失敗しました\n"), -1;
  }
  const bool copied = device->StretchRect(source, &r, target, nullptr, D_D3DTEXF_NONE) == 0 &&
                      device->GetRenderTargetData(target, copy) == 0 &&
                      copy->LockRect(locked, nullptr, D_D3DLOCK_READONLY) == 0;
  target->Release();
  if (!copied) {
    copy->Release();
    return -1;
  }
  g_lock.surface = copy;
  return 0;
}

int LockDeviceTarget(const RECT& r, BaseImage* image) {
  D_D3DFORMAT format{};
  D_IDirect3DSurface9* surface = DrawTargetSurface(&format);
  const ColorFormat* layout = GetColorFormatDesc(format);
  if (surface == nullptr || layout == nullptr) return -1;
  D_D3DLOCKED_RECT locked{};
  if (Graphics().useBackBufferLock && surface->LockRect(&locked, &r, D_D3DLOCK_READONLY) == 0) {
    surface->AddRef();
    g_lock.surface = surface;
  } else if (LockThroughCopy(surface, format, r, &locked) != 0) {
    return -1;
  }
  Describe(image, *layout, r, locked.pBits, static_cast<std::uint32_t>(locked.Pitch));
  return 0;
}

// Level 0 of each texture piece of the graph gets its part of the image.
void ConvertIntoPieces(const GraphRecord& graph, const BaseImage& image) {
  const ColorFormat* format = GetTextureFormatDesc(graph.image->formatIndex);
  for (int i = 0; i < graph.pieceCount; ++i) {
    const GraphTexturePiece& piece = graph.pieces[i];
    D_IDirect3DTexture9* texture = piece.entry->memoryTwin ? piece.entry->memoryTwin : piece.entry->texture;
    D_D3DLOCKED_RECT locked{};
    if (texture->LockRect(0, &locked, nullptr, 0) != 0) continue;
    const RECT part{piece.destX, piece.destY, piece.destX + piece.width, piece.destY + piece.height};
    ConvertPixelRect(locked.pBits, static_cast<std::uint32_t>(locked.Pitch), format, image.pixels, image.pitch,
                     &image.format, nullptr, 0, nullptr, piece.sourceX, piece.sourceY, &part, 0, 0, 0, 0, 0, 0, 0, 0);
    texture->UnlockRect(0);
    if (piece.entry->memoryTwin) Device()->UpdateTexture(piece.entry->memoryTwin, piece.entry->texture);
  }
}

}  // namespace

int LockDrawScreen(const RECT* rect, BaseImage* image) {
  FlushAndEndScene();
  if (!Graphics().started || rect == nullptr || image == nullptr || g_lock.locked || !InsideDrawTarget(*rect))
    return -1;
  if (HardwareRendererInUse()) {
    if (LockDeviceTarget(*rect, image) != 0) return -1;
  } else {
    MEMIMG* target = DrawTargetMemImg;
    if (target == nullptr) return -1;
    const int bytes = MemImgBytesPerPixel(target);
    std::uint8_t* first =
        target->pixels + static_cast<std::ptrdiff_t>(rect->top) * target->data->pitch + rect->left * bytes;
    Describe(image, *target->data->colorFormat, *rect, first, static_cast<std::uint32_t>(target->data->pitch));
  }
  g_lock.locked = 1;
  return 0;
}

int UnlockDrawScreen() {
  if (!g_lock.locked) return 0;
  if (g_lock.surface != nullptr) {
    g_lock.surface->UnlockRect();
    ReleaseObject(&g_lock.surface);
  }
  g_lock.locked = 0;
  return 0;
}

int CopyDrawScreenToGraph(int x1, int y1, int x2, int y2, int graph) {
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  FlushAndEndScene();
  const RECT area{x1, y1, x2, y2};
  if (!InsideDrawTarget(area) || record->width != x2 - x1 || record->height != y2 - y1) return -1;
  if (!record->image->inTextures) {
    if (DrawTargetMemImg == nullptr) return -1;
    return CopyMemImgRect(&record->view, DrawTargetMemImg, &area, 0, 0) < 0 ? -1 : 0;
  }
  if (Device() == nullptr) return -1;
  if (record->image->drawable) {
    D_D3DFORMAT format{};
    D_IDirect3DSurface9* source = DrawTargetSurface(&format);
    for (int i = 0; i < record->pieceCount; ++i) {
      const GraphTexturePiece& piece = record->pieces[i];
      const RECT from{x1 + piece.destX, y1 + piece.destY, x1 + piece.destX + piece.width,
                      y1 + piece.destY + piece.height};
      const RECT to{piece.sourceX, piece.sourceY, piece.sourceX + piece.width, piece.sourceY + piece.height};
      if (Device()->StretchRect(source, &from, piece.entry->surface, &to, D_D3DTEXF_NONE) != 0) return -1;
    }
    return 0;
  }
  BaseImage image{};
  if (LockDrawScreen(&area, &image) != 0) return -1;
  ConvertIntoPieces(*record, image);
  UnlockDrawScreen();
  return 0;
}
