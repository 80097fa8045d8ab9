// The live-object count, the non-delegating unknown and the COM helpers of
// the filter classes.
#include "media/filters/com_object.h"

#include <cstring>

#include "core/base/tracked_allocator.h"
#include "media/filters/media_type.h"

namespace {

volatile LONG liveObjects = 0;
HMODULE automationModule = nullptr;

}  // namespace

void* D_CTrackedNew::operator new(std::size_t size) noexcept { return TrackedAlloc(size, "", 0); }

void D_CTrackedNew::operator delete(void* object) noexcept {
  if (object != nullptr) TrackedFree(object);
}

D_CBaseObject::D_CBaseObject(const char*) { InterlockedIncrement(&liveObjects); }

D_CBaseObject::~D_CBaseObject() {
  if (InterlockedDecrement(&liveObjects) == 0 && automationModule != nullptr) {
    FreeLibrary(automationModule);
    automationModule = nullptr;
  }
}

LONG GetLiveFilterObjectCount() { return liveObjects; }
HMODULE GetAutomationModule() { return automationModule; }
void SetAutomationModule(HMODULE module) { automationModule = module; }

D_CUnknown::D_CUnknown(const char* name, IUnknown* outer)
    : D_CBaseObject(name), inner_(this), owner_(outer != nullptr ? outer : &inner_) {}

D_CUnknown::~D_CUnknown() = default;

HRESULT D_CUnknown::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown) return ReturnInterface(&inner_, object);
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG D_CUnknown::NonDelegatingAddRef() {
  const LONG count = InterlockedIncrement(&references_);
  return static_cast<ULONG>(count < 1 ? 1 : count);
}

ULONG D_CUnknown::NonDelegatingRelease() {
  const LONG count = InterlockedDecrement(&references_);
  if (count != 0) return static_cast<ULONG>(count < 1 ? 1 : count);
  // A release reached from the destructor must not destroy the object again.
  references_ = 1;
  delete this;
  return 0;
}

D_CAMEvent::D_CAMEvent(BOOL manualReset) : event_(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}

D_CAMEvent::~D_CAMEvent() {
  if (event_ != nullptr) CloseHandle(event_);
}

HRESULT ReturnInterface(IUnknown* unknown, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = unknown;
  unknown->AddRef();
  return S_OK;
}

int WideLength(const WCHAR* text) {
  int length = 0;
  while (text[length] != 0) ++length;
  return length;
}

void CopyWideText(WCHAR* target, const WCHAR* source, int capacity) {
  int count = 0;
  if (source != nullptr) {
    while (count < capacity - 1 && source[count] != 0) {
      target[count] = source[count];
      ++count;
    }
  }
  target[count] = 0;
}

WCHAR* DuplicateWideText(const WCHAR* text) {
  if (text == nullptr) return nullptr;
  const int length = WideLength(text) + 1;
  auto* copy = static_cast<WCHAR*>(TrackedAlloc(static_cast<std::size_t>(length) * sizeof(WCHAR), "", 0));
  if (copy != nullptr) CopyWideText(copy, text, length);
  return copy;
}

void FreeWideText(WCHAR* text) {
  if (text != nullptr) TrackedFree(text);
}

HRESULT CopyWideStringToTaskMemory(const WCHAR* text, WCHAR** copy) {
  if (copy == nullptr) return E_POINTER;
  const std::size_t bytes = (static_cast<std::size_t>(WideLength(text)) + 1) * sizeof(WCHAR);
  *copy = static_cast<WCHAR*>(CoTaskMemAlloc(bytes));
  if (*copy == nullptr) return E_OUTOFMEMORY;
  std::memcpy(*copy, text, bytes);
  return S_OK;
}

D_AM_MEDIA_TYPE* CreateMediaTypeCopy(const D_AM_MEDIA_TYPE* source) {
  auto* copy = static_cast<D_AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(D_AM_MEDIA_TYPE)));
  if (copy == nullptr) return nullptr;
  if (FAILED(CopyMediaType(copy, source))) {
    CoTaskMemFree(copy);
    return nullptr;
  }
  return copy;
}
