// kernel32's exports for programs that look them up at run time.
#include "kernel32/module_definition.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"GlobalMemoryStatusEx", ExportAddress(&GlobalMemoryStatusEx)},
};

}  // namespace

extern const ModuleDefinition kKernel32Module{"kernel32", kExports};

}  // namespace wqplat
