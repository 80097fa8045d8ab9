// The layer's built-in modules. Listed here explicitly: a module's own
// table is never pulled in from a static library by self-registration.
#include "kernel32/module_definition.h"

namespace wqplat {

extern const ModuleDefinition kKernel32Module;
extern const ModuleDefinition kWinmmModule;

std::span<const ModuleDefinition* const> BuiltinModules() {
  static const ModuleDefinition* const kModules[] = {
      &kKernel32Module,
      &kWinmmModule,
  };
  return kModules;
}

}  // namespace wqplat
