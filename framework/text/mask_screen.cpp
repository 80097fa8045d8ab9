// The mask screen. Drawing stays on its target while the mask is in
// effect: the begin hook saves the destination rectangle into the mask's
// work image and the end hook puts the saved pixels back wherever the mask
// blocks drawing. (Sending the draws themselves into the work image, as a
// redirect of the target would, makes them vanish from the screen.)
#include "text/mask_screen.h"

#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "core/startup/library_startup.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/vertex_batch.h"
#include "image/memimg.h"
#include "text/mask_screen_device.h"

namespace {

struct MaskRecord {
  std::uint32_t check;
  std::uint8_t* buffer;
  int inUse;
  int width, height, pitch, reserved;
};

struct MaskScreenState {
  std::uint8_t* buffer;
  int pitch;
  int created;
  int nesting;
  int reverse;
  int width, height;  // the screen's, when the buffer was made
  MEMIMG work;
  MaskRecord* records[kMaskSlotCount];
};

MaskScreenState g_mask;

// The draw area, and the mask buffer's size: a drawable graph larger than
// the screen has no mask bytes beyond it.
RECT ClipToDrawArea(RECT rect) {
  rect.left = std::max<LONG>({rect.left, DrawArea.left, 0});
  rect.top = std::max<LONG>({rect.top, DrawArea.top, 0});
  rect.right = std::min<LONG>({rect.right, DrawArea.right, g_mask.width});
  rect.bottom = std::min<LONG>({rect.bottom, DrawArea.bottom, g_mask.height});
  if (DrawTargetMemImg != nullptr && !HardwareRendererInUse()) {
    rect.right = std::min<LONG>(rect.right, DrawTargetMemImg->width);
    rect.bottom = std::min<LONG>(rect.bottom, DrawTargetMemImg->height);
  }
  return rect;
}

bool Blocks(std::uint8_t maskByte) { return g_mask.reverse ? maskByte != 0 : maskByte == 0; }

template <typename Pixel>
void RestoreBlockedPixels(const RECT& rect) {
  MEMIMG* target = DrawTargetMemImg;
  for (int y = rect.top; y < rect.bottom; ++y) {
    const std::uint8_t* mask = g_mask.buffer + static_cast<std::size_t>(y) * g_mask.pitch;
    auto* out = reinterpret_cast<Pixel*>(target->pixels + static_cast<std::ptrdiff_t>(y) * target->data->pitch);
    const auto* saved =
        reinterpret_cast<const Pixel*>(g_mask.work.pixels + static_cast<std::ptrdiff_t>(y) * g_mask.work.data->pitch);
    for (int x = rect.left; x < rect.right; ++x)
      if (Blocks(mask[x])) out[x] = saved[x];
  }
}

}  // namespace

int DeleteMask(int handle) {
  if (handle < 0 || (handle & 0x78000000) != kMaskHandleKind) return -1;
  const int slot = handle & 0xFFFF;
  if (slot >= kMaskSlotCount) return -1;
  MaskRecord* record = g_mask.records[slot];
  if (record == nullptr || !record->inUse || (record->check << 16) != static_cast<std::uint32_t>(handle & 0x07FF0000))
    return -1;
  TrackedFree(record->buffer);
  TrackedFree(record);
  g_mask.records[slot] = nullptr;
  return 0;
}

int DeleteAllMasks() {
  for (int slot = 0; slot < kMaskSlotCount; ++slot) {
    if (const MaskRecord* record = g_mask.records[slot])
      DeleteMask(kMaskHandleKind | static_cast<int>(record->check << 16) | slot);
  }
  return 0;
}

int IsMaskScreenEnabled() { return MaskScreenRequested; }

int CreateMaskScreen(int flag) {
  if (!flag) return 0;
  const ScreenSettings& screen = Screen();
  if (g_mask.buffer == nullptr) {
    g_mask.pitch = (screen.width + 3) / 4 * 4;
    g_mask.width = screen.width;
    g_mask.height = screen.height;
    g_mask.buffer = static_cast<std::uint8_t*>(
        TrackedAllocZero(static_cast<std::size_t>(g_mask.pitch) * screen.height, __FILE__, __LINE__));
    if (g_mask.buffer == nullptr) return -1;
  }
  if (HardwareRendererInUse()) {
    CreateDeviceMaskObjects(screen.width, screen.height);
  } else if (!IsMemImgInUse(&g_mask.work)) {
    if (InitMemImg(&g_mask.work, screen.width, screen.height, -1) != 0)
      FatalErrorFormat("マスク用 MEMIMG の作成に失敗しました\n");
  }
  g_mask.created = 1;
  return 0;
}

int DeleteMaskScreen() {
  TrackedFree(g_mask.buffer);
  g_mask.buffer = nullptr;
  if (IsMemImgInUse(&g_mask.work)) ReleaseMemImg(&g_mask.work);
  ReleaseDeviceMaskObjects();
  return 0;
}

int EnableMaskScreen(int flag) {
  if (g_mask.buffer == nullptr) return -1;
  if (HardwareRendererInUse()) FlushVertexBatch();
  MaskScreenRequested = flag;
  MaskScreenEffective = flag && g_mask.created ? 1 : 0;
  return 0;
}

void BeginMaskDraw(RECT rect) {
  if (++g_mask.nesting != 1 || !MaskScreenEffective) return;
  rect = ClipToDrawArea(rect);
  if (rect.left >= rect.right || rect.top >= rect.bottom) return;
  if (HardwareRendererInUse()) {
    SaveDeviceMaskRect(rect);
    return;
  }
  if (DrawTargetMemImg != nullptr && IsMemImgInUse(&g_mask.work))
    CopyMemImgRect(&g_mask.work, DrawTargetMemImg, &rect, rect.left, rect.top);
}

void EndMaskDraw(RECT rect) {
  if (g_mask.nesting > 0) --g_mask.nesting;
  if (g_mask.nesting != 0 || !MaskScreenEffective) return;
  rect = ClipToDrawArea(rect);
  if (rect.left >= rect.right || rect.top >= rect.bottom) return;
  if (HardwareRendererInUse()) {
    RestoreDeviceMaskRect(rect, g_mask.buffer, g_mask.pitch, g_mask.reverse);
    return;
  }
  if (DrawTargetMemImg == nullptr || !IsMemImgInUse(&g_mask.work)) return;
  if (MemImgBytesPerPixel(DrawTargetMemImg) == 2)
    RestoreBlockedPixels<std::uint16_t>(rect);
  else
    RestoreBlockedPixels<std::uint32_t>(rect);
}

int RestoreMaskScreen() {
  CreateMaskScreen(g_mask.created);
  if (MaskScreenRequested) EnableMaskScreen(1);
  return 0;
}

int ReleaseMaskScreen() {
  if (MaskScreenRequested) EnableMaskScreen(0);
  DeleteMaskScreen();
  g_mask.created = 0;
  MaskScreenEffective = 0;
  return 0;
}

std::uint8_t* GetMaskBuffer(int* pitch) {
  if (pitch != nullptr) *pitch = g_mask.pitch;
  return g_mask.buffer;
}

int GetMaskDrawNesting() { return g_mask.nesting; }

int SetMaskReverseEffect(int reverse) {
  g_mask.reverse = reverse ? 1 : 0;
  return 0;
}
