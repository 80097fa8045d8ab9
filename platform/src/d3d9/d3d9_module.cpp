// d3d9's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/d3d9.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"Direct3DCreate9", ExportAddress(&Direct3DCreate9)},
};

}  // namespace

extern const ModuleDefinition kD3d9Module{"d3d9", kExports};

}  // namespace wqplat
