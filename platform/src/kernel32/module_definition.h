// What a built-in module offers to LoadLibraryA/GetProcAddress. Each module
// folder defines one ModuleDefinition listing its exports; the registry
// names every built-in module in builtin_modules.cpp.
#pragma once

#include <span>

#include "platform/kernel32_system.h"

namespace wqplat {

struct ModuleExport {
  const char* name;
  FARPROC address;
};

struct ModuleDefinition {
  const char* name;  // lower case, without ".dll"
  std::span<const ModuleExport> exports;
};

// Every built-in module, in no particular order.
std::span<const ModuleDefinition* const> BuiltinModules();

// Any function as an export; the caller casts it back to its real type.
template <class Function>
FARPROC ExportAddress(Function* function) {
  return reinterpret_cast<FARPROC>(function);
}

}  // namespace wqplat
