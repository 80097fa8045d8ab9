// Imm32's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/imm.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"ImmGetContext", ExportAddress(&ImmGetContext)},
    {"ImmReleaseContext", ExportAddress(&ImmReleaseContext)},
    {"ImmGetCompositionStringA", ExportAddress(&ImmGetCompositionStringA)},
    {"ImmSetCompositionStringA", ExportAddress(&ImmSetCompositionStringA)},
    {"ImmNotifyIME", ExportAddress(&ImmNotifyIME)},
    {"ImmGetOpenStatus", ExportAddress(&ImmGetOpenStatus)},
    {"ImmSetOpenStatus", ExportAddress(&ImmSetOpenStatus)},
    {"ImmGetCandidateListA", ExportAddress(&ImmGetCandidateListA)},
    {"ImmGetConversionStatus", ExportAddress(&ImmGetConversionStatus)},
};

}  // namespace

extern const ModuleDefinition kImm32Module{"imm32", kExports};

}  // namespace wqplat
