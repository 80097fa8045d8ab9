// SelectObject, DeleteObject, GetObjectA and GetCurrentObject over every kind
// of GDI object.
#include "gdi32/device_context.h"
#include "platform/gdi32.h"

namespace wqplat {
namespace {

HGDIOBJ SelectBitmap(DeviceContext& dc, std::shared_ptr<BitmapObject> bitmap, HGDIOBJ handle) {
  // A bitmap lives in one memory DC at a time (the shared stock bitmap
  // excepted).
  if (dc.kind != DeviceContext::Kind::kMemory) return nullptr;
  if (bitmap->selection_count > 0 && !bitmap->is_stock && dc.bitmap.object != bitmap) return nullptr;
  return SwapSelection(dc.bitmap, std::move(bitmap), handle);
}

}  // namespace
}  // namespace wqplat

HGDIOBJ SelectObject(HDC dc_handle, HGDIOBJ handle) {
  std::shared_ptr<wqplat::DeviceContext> dc = wqplat::LookupDeviceContext(dc_handle);
  std::shared_ptr<wqplat::GdiObject> object = wqplat::LookupGdiObjectAs(handle);
  if (!dc || !object) return nullptr;
  std::lock_guard lock(wqplat::GdiStateMutex());
  if (auto font = std::dynamic_pointer_cast<wqplat::FontObject>(object)) {
    return wqplat::SwapSelection(dc->font, std::move(font), handle);
  }
  if (auto bitmap = std::dynamic_pointer_cast<wqplat::BitmapObject>(object)) {
    return wqplat::SelectBitmap(*dc, std::move(bitmap), handle);
  }
  if (auto brush = std::dynamic_pointer_cast<wqplat::BrushObject>(object)) {
    return wqplat::SwapSelection(dc->brush, std::move(brush), handle);
  }
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ handle) {
  std::shared_ptr<wqplat::GdiObject> object = wqplat::LookupGdiObjectAs(handle);
  if (!object || std::dynamic_pointer_cast<wqplat::DeviceContext>(object)) return FALSE;
  if (object->is_stock) return TRUE;
  std::lock_guard lock(wqplat::GdiStateMutex());
  // Deleting a selected object would pull it from under its DC.
  if (object->selection_count > 0) return FALSE;
  return wqplat::UnregisterGdiObject(handle) ? TRUE : FALSE;
}

int GetObjectA(HANDLE handle, int size, LPVOID buffer) {
  std::shared_ptr<wqplat::GdiObject> object = wqplat::LookupGdiObjectAs(handle);
  if (!object || size < 0) return 0;
  return object->Describe(size, buffer);
}

HGDIOBJ GetCurrentObject(HDC dc_handle, UINT kind) {
  std::shared_ptr<wqplat::DeviceContext> dc = wqplat::LookupDeviceContext(dc_handle);
  if (!dc || kind != OBJ_BITMAP) return nullptr;
  std::lock_guard lock(wqplat::GdiStateMutex());
  return dc->bitmap.handle;
}
