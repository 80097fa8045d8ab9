#include "ole32/com_class_table.h"

namespace wqplat {

extern const ComClassTable kDsoundClasses;
extern const ComClassTable kDinputComClasses;
extern const ComClassTable kDdrawComClasses;
extern const ComClassTable kQuartzClasses;

// Every module of the layer that serves COM classes adds its table here.
std::span<const ComClassTable* const> BuiltinComClassTables() {
  static const ComClassTable* const kTables[] = {
      &kDsoundClasses,
      &kDinputComClasses,
      &kDdrawComClasses,
      &kQuartzClasses,
  };
  return kTables;
}

}  // namespace wqplat
