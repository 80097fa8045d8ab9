// User32's exports for programs that load it at run time.
#include "kernel32/module_definition.h"
#include "platform/user32.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"UpdateLayeredWindow", ExportAddress(&UpdateLayeredWindow)},
    {"WINNLSEnableIME", ExportAddress(&WINNLSEnableIME)},
};

}  // namespace

extern const ModuleDefinition kUser32Module{"user32", kExports};

}  // namespace wqplat
