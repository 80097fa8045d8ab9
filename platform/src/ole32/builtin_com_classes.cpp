#include "ole32/com_class_table.h"

namespace wqplat {

extern const ComClassTable kDsoundClasses;
extern const ComClassTable kDinputComClasses;
extern const ComClassTable kDdrawComClasses;

// Every module of the layer that serves COM classes adds its table here.
std::span<const ComClassTable* const> BuiltinComClassTables() {
  static const ComClassTable* const kTables[] = {
      &kDsoundClasses,
      &kDinputComClasses,
      &kDdrawComClasses,
  };
  return kTables;
}

}  // namespace wqplat
