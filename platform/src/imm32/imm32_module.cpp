// Imm32: present so that programs can load it; its input-method functions
// are not exported yet, so GetProcAddress finds none of them and callers
// take their no-input-method path.
#include "kernel32/module_definition.h"

namespace wqplat {

extern const ModuleDefinition kImm32Module{"imm32", {}};

}  // namespace wqplat
