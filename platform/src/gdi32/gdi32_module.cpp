// gdi32's exports for programs that load the module at run time. GetDC,
// ReleaseDC and FillRect are user32's on Windows and are exported there.
#include "kernel32/module_definition.h"
#include "platform/gdi32.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"CreateFontA", ExportAddress(&CreateFontA)},
    {"GetTextMetricsA", ExportAddress(&GetTextMetricsA)},
    {"GetGlyphOutlineA", ExportAddress(&GetGlyphOutlineA)},
    {"CreateCompatibleDC", ExportAddress(&CreateCompatibleDC)},
    {"DeleteDC", ExportAddress(&DeleteDC)},
    {"GetDeviceCaps", ExportAddress(&GetDeviceCaps)},
    {"SelectObject", ExportAddress(&SelectObject)},
    {"DeleteObject", ExportAddress(&DeleteObject)},
    {"GetObjectA", ExportAddress(&GetObjectA)},
    {"GetStockObject", ExportAddress(&GetStockObject)},
    {"CreateDIBSection", ExportAddress(&CreateDIBSection)},
    {"SetDIBitsToDevice", ExportAddress(&SetDIBitsToDevice)},
    {"StretchDIBits", ExportAddress(&StretchDIBits)},
};

}  // namespace

extern const ModuleDefinition kGdi32Module{"gdi32", kExports};

}  // namespace wqplat
