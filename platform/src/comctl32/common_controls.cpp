// comctl32: the common controls. None of them exists in this layer, so
// there are no window classes to register.
#include "kernel32/module_definition.h"

namespace wqplat {
namespace {

void InitCommonControls() {}

const ModuleExport kExports[] = {
    {"InitCommonControls", ExportAddress(&InitCommonControls)},
};

}  // namespace

extern const ModuleDefinition kComctl32Module{"comctl32", kExports};

}  // namespace wqplat
