// The layer's COM classes: each module folder lists its classes in one
// table of its own; builtin_com_classes.cpp lists the tables.
#pragma once

#include <span>

#include "platform/ole32.h"

namespace wqplat {

struct ComClassDefinition {
  CLSID clsid;
  // Creates an object of the class and queries it for the interface.
  HRESULT (*create)(REFIID iid, void** object);
  // For a class that can be aggregated: creates an object whose interfaces
  // delegate to `outer` and gives its own (non-delegating) IUnknown, with
  // one reference. Null for a class that cannot.
  HRESULT (*create_aggregated)(LPUNKNOWN outer, IUnknown** inner) = nullptr;
};

// A class's create function: a new Object queried for the interface; the
// creation's own reference is let go, so a refused interface frees it.
template <class Object>
HRESULT CreateComClassObject(REFIID iid, void** object) {
  auto* created = new Object();
  const HRESULT result = created->QueryInterface(iid, object);
  created->Release();
  return result;
}

struct ComClassTable {
  const char* module_name;
  std::span<const ComClassDefinition> classes;
};

std::span<const ComClassTable* const> BuiltinComClassTables();

// Creates an object of the first class with the id in the tables, unless
// the class is made absent; REGDB_E_CLASSNOTREG when there is none. With an
// outer object, only IID_IUnknown may be asked for (E_NOINTERFACE
// otherwise) and the class must be aggregatable (CLASS_E_NOAGGREGATION).
HRESULT CreateComObject(std::span<const ComClassTable* const> tables, REFCLSID clsid, LPUNKNOWN outer,
                        REFIID iid, void** object);

}  // namespace wqplat
