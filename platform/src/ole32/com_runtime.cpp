// CoInitialize and friends: a per-thread initialisation count, class
// creation from the layer's table, and task memory.
#include <cstdlib>

#include "ole32/com_class_table.h"

namespace {

thread_local int initialisations = 0;

}  // namespace

HRESULT CoInitialize(LPVOID /*reserved*/) {
  return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (initialisations > 0) --initialisations;
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD /*context*/, REFIID iid,
                         LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (initialisations == 0) return CO_E_NOTINITIALIZED;
  return wqplat::CreateComObject(wqplat::BuiltinComClassTables(), clsid, outer, iid, object);
}

void CoFreeUnusedLibraries() {}

LPVOID CoTaskMemAlloc(SIZE_T bytes) { return std::malloc(bytes == 0 ? 1 : bytes); }

void CoTaskMemFree(LPVOID memory) { std::free(memory); }
