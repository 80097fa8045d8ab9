#include "gdi32/stock_objects.h"

#include <array>
#include <mutex>

#include "gdi32/bitmap_object.h"
#include "gdi32/brush_object.h"
#include "gdi32/face_name.h"
#include "gdi32/font_object.h"
#include "platform/gdi32.h"

namespace wqplat {
namespace {

constexpr int kStockIndexCount = DEFAULT_GUI_FONT + 1;

struct StockFontSpec {
  int index;
  LONG height;
  LONG weight;
  BYTE char_set;
  BYTE pitch;
  const char* face;
};

constexpr StockFontSpec kStockFonts[] = {
    {OEM_FIXED_FONT, 16, FW_NORMAL, SHIFTJIS_CHARSET, FIXED_PITCH, "Terminal"},
    {ANSI_FIXED_FONT, 16, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH, "Courier"},
    {ANSI_VAR_FONT, 16, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH, "MS Sans Serif"},
    {SYSTEM_FONT, 16, FW_BOLD, SHIFTJIS_CHARSET, VARIABLE_PITCH, "System"},
    {DEVICE_DEFAULT_FONT, 16, FW_NORMAL, SHIFTJIS_CHARSET, VARIABLE_PITCH, "System"},
    {SYSTEM_FIXED_FONT, 16, FW_NORMAL, SHIFTJIS_CHARSET, FIXED_PITCH, "FixedSys"},
    {DEFAULT_GUI_FONT, -12, FW_NORMAL, SHIFTJIS_CHARSET, VARIABLE_PITCH, "MS UI Gothic"},
};

struct StockBrushSpec {
  int index;
  std::uint32_t rgb;
  bool hollow;
};

constexpr StockBrushSpec kStockBrushes[] = {
    {WHITE_BRUSH, 0xFFFFFF, false}, {LTGRAY_BRUSH, 0xC0C0C0, false}, {GRAY_BRUSH, 0x808080, false},
    {DKGRAY_BRUSH, 0x404040, false}, {BLACK_BRUSH, 0x000000, false}, {NULL_BRUSH, 0, true},
};

std::shared_ptr<GdiObject> MakeStockObject(int index) {
  for (const StockBrushSpec& spec : kStockBrushes) {
    if (spec.index == index) return std::make_shared<BrushObject>(spec.rgb, spec.hollow);
  }
  for (const StockFontSpec& spec : kStockFonts) {
    if (spec.index != index) continue;
    LOGFONTA request{};
    request.lfHeight = spec.height;
    request.lfWeight = spec.weight;
    request.lfCharSet = spec.char_set;
    request.lfPitchAndFamily = spec.pitch;
    StoreFaceName(spec.face, request.lfFaceName);
    return CreateFontObject(request);
  }
  return nullptr;
}

std::mutex& StockMutex() {
  static std::mutex* mutex = new std::mutex;
  return *mutex;
}

// Registers a stock object once; later calls return the same handle.
HGDIOBJ RegisterStock(HGDIOBJ& slot, std::shared_ptr<GdiObject> (*make)(int), int index) {
  std::lock_guard lock(StockMutex());
  if (slot) return slot;
  std::shared_ptr<GdiObject> object = make(index);
  if (!object) return nullptr;
  object->is_stock = true;
  slot = RegisterGdiObject(std::move(object));
  return slot;
}

}  // namespace

HGDIOBJ StockBitmapHandle() {
  static HGDIOBJ handle = nullptr;
  return RegisterStock(handle, [](int) -> std::shared_ptr<GdiObject> { return CreateStockBitmap(); }, 0);
}

}  // namespace wqplat

HGDIOBJ GetStockObject(int index) {
  static std::array<HGDIOBJ, wqplat::kStockIndexCount> handles{};
  if (index < 0 || index >= wqplat::kStockIndexCount) return nullptr;
  return wqplat::RegisterStock(handles[index], wqplat::MakeStockObject, index);
}
