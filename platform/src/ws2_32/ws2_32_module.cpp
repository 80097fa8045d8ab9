// ws2_32: present so that programs can load it; its socket functions are
// not exported yet, so GetProcAddress finds none of them and callers take
// their no-network path.
#include "kernel32/module_definition.h"

namespace wqplat {

extern const ModuleDefinition kWs2_32Module{"ws2_32", {}};

}  // namespace wqplat
