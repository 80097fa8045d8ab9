#include "ole32/com_class_table.h"

namespace wqplat {

// No module of the layer serves COM classes yet; each one that does adds
// its table here.
std::span<const ComClassTable* const> BuiltinComClassTables() { return {}; }

}  // namespace wqplat
