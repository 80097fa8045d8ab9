// The layer's built-in modules. Listed here explicitly: a module's own
// table is never pulled in from a static library by self-registration.
#include "kernel32/module_definition.h"

namespace wqplat {

extern const ModuleDefinition kKernel32Module;
extern const ModuleDefinition kWinmmModule;
extern const ModuleDefinition kUser32Module;
extern const ModuleDefinition kGdi32Module;
extern const ModuleDefinition kOle32Module;
extern const ModuleDefinition kDwmapiModule;
extern const ModuleDefinition kComctl32Module;
extern const ModuleDefinition kImm32Module;
extern const ModuleDefinition kWs2_32Module;
extern const ModuleDefinition kMsacm32Module;
extern const ModuleDefinition kDsoundModule;
extern const ModuleDefinition kD3d9Module;

std::span<const ModuleDefinition* const> BuiltinModules() {
  static const ModuleDefinition* const kModules[] = {
      &kKernel32Module,
      &kWinmmModule,
      &kUser32Module,
      &kGdi32Module,
      &kOle32Module,
      &kDwmapiModule,
      &kComctl32Module,
      &kImm32Module,
      &kWs2_32Module,
      &kMsacm32Module,
      &kDsoundModule,
      &kD3d9Module,
  };
  return kModules;
}

}  // namespace wqplat
