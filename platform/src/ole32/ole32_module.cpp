// ole32's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/ole32.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"CoCreateInstance", ExportAddress(&CoCreateInstance)},
    {"CoTaskMemAlloc", ExportAddress(&CoTaskMemAlloc)},
    {"CoTaskMemFree", ExportAddress(&CoTaskMemFree)},
    {"CoInitialize", ExportAddress(&CoInitialize)},
    {"CoFreeUnusedLibraries", ExportAddress(&CoFreeUnusedLibraries)},
    {"CoUninitialize", ExportAddress(&CoUninitialize)},
};

}  // namespace

extern const ModuleDefinition kOle32Module{"ole32", kExports};

}  // namespace wqplat
