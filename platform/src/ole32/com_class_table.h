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
// the class is made absent; REGDB_E_CLASSNOTREG when there is none.
HRESULT CreateComObject(std::span<const ComClassTable* const> tables, REFCLSID clsid, REFIID iid,
                        void** object);

}  // namespace wqplat
