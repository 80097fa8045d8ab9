// dwmapi's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/dwmapi.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"DwmEnableComposition", ExportAddress(&DwmEnableComposition)},
};

}  // namespace

extern const ModuleDefinition kDwmapiModule{"dwmapi", kExports};

}  // namespace wqplat
