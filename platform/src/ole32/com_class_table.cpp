#include "ole32/com_class_table.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/control_com.h"

namespace wqplat {
namespace {

std::mutex absent_lock;
std::vector<CLSID> absent_classes;

bool IsAbsent(REFCLSID clsid) {
  std::lock_guard lock(absent_lock);
  return std::any_of(absent_classes.begin(), absent_classes.end(),
                     [&](const CLSID& absent) { return absent == clsid; });
}

}  // namespace

HRESULT CreateComObject(std::span<const ComClassTable* const> tables, REFCLSID clsid, LPUNKNOWN outer,
                        REFIID iid, void** object) {
  *object = nullptr;
  if (IsAbsent(clsid)) return REGDB_E_CLASSNOTREG;
  for (const ComClassTable* table : tables) {
    for (const ComClassDefinition& definition : table->classes) {
      if (!(definition.clsid == clsid)) continue;
      if (outer == nullptr) return definition.create(iid, object);
      if (definition.create_aggregated == nullptr) return CLASS_E_NOAGGREGATION;
      if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
      return definition.create_aggregated(outer, reinterpret_cast<IUnknown**>(object));
    }
  }
  return REGDB_E_CLASSNOTREG;
}

}  // namespace wqplat

void WqControlSetComClassAbsent(const GUID& clsid, bool absent) {
  std::lock_guard lock(wqplat::absent_lock);
  std::erase_if(wqplat::absent_classes, [&](const CLSID& listed) { return listed == clsid; });
  if (absent) wqplat::absent_classes.push_back(clsid);
}
