// msacm32's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/msacm.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"acmFormatSuggest", ExportAddress(&acmFormatSuggest)},
    {"acmMetrics", ExportAddress(&acmMetrics)},
    {"acmStreamOpen", ExportAddress(&acmStreamOpen)},
    {"acmStreamClose", ExportAddress(&acmStreamClose)},
    {"acmStreamSize", ExportAddress(&acmStreamSize)},
    {"acmStreamPrepareHeader", ExportAddress(&acmStreamPrepareHeader)},
    {"acmStreamConvert", ExportAddress(&acmStreamConvert)},
    {"acmStreamUnprepareHeader", ExportAddress(&acmStreamUnprepareHeader)},
};

}  // namespace

extern const ModuleDefinition kMsacm32Module{"msacm32", kExports};

}  // namespace wqplat
