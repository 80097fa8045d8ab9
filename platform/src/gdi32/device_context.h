// Device contexts: memory DCs that draw into their selected bitmap, and
// window DCs that draw through the window's surface.
#pragma once

#include <memory>

#include "gdi32/bitmap_object.h"
#include "gdi32/brush_object.h"
#include "gdi32/font_object.h"
#include "gdi32/gdi_object.h"

namespace wqplat {

template <class T>
struct Selection {
  std::shared_ptr<T> object;
  HGDIOBJ handle = nullptr;
};

class DeviceContext : public GdiObject {
 public:
  enum class Kind { kMemory, kWindow, kScreen };

  explicit DeviceContext(Kind kind, HWND window = nullptr) : kind(kind), window(window) {}

  const Kind kind;
  const HWND window;  // window DCs only
  // Guarded by GdiStateMutex().
  Selection<FontObject> font;
  Selection<BitmapObject> bitmap;
  Selection<BrushObject> brush;
};

std::shared_ptr<DeviceContext> LookupDeviceContext(HDC dc);

// Puts object into a selection slot (caller holds GdiStateMutex()) and
// returns the handle it replaces.
template <class T>
HGDIOBJ SwapSelection(Selection<T>& slot, std::shared_ptr<T> object, HGDIOBJ handle) {
  if (slot.object) --slot.object->selection_count;
  if (object) ++object->selection_count;
  const HGDIOBJ previous = slot.handle;
  slot.object = std::move(object);
  slot.handle = handle;
  return previous;
}

// The font selected into a DC, or null.
std::shared_ptr<FontObject> SelectedFont(HDC dc);

}  // namespace wqplat
