// LoadLibraryA and friends over the built-in modules, with the controls
// that make a module or an export absent.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "kernel32/module_definition.h"
#include "platform/control.h"

namespace {

struct LoadedModule {
  const wqplat::ModuleDefinition* definition;  // null for the program itself
  int reference_count = 0;
};

struct Registry {
  std::mutex mutex;
  std::vector<LoadedModule> modules;  // one per built-in module, never resized
  LoadedModule program{nullptr};
  std::set<std::string> absent_modules;
  std::set<std::pair<std::string, std::string>> absent_exports;
};

// "C:\Windows\System32\WINMM.DLL", "winmm.dll" and "WinMM" all become
// "winmm".
std::string ModuleKey(const char* name) {
  std::string key = name;
  key.erase(0, key.find_last_of("\\/") + 1);
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (key.size() > 4 && key.ends_with(".dll")) key.resize(key.size() - 4);
  return key;
}

// The modules WQ_ABSENT_MODULES lists ("d3d9.dll,dsound"): a machine
// without them, set before the program starts.
void AddAbsentModulesOfEnvironment(std::set<std::string>* absent) {
  const char* list = std::getenv("WQ_ABSENT_MODULES");
  if (list == nullptr) return;
  std::istringstream names(list);
  std::string name;
  while (std::getline(names, name, ',')) {
    if (!name.empty()) absent->insert(ModuleKey(name.c_str()));
  }
}

Registry& TheRegistry() {
  static Registry* registry = [] {
    auto* created = new Registry;
    for (const wqplat::ModuleDefinition* definition : wqplat::BuiltinModules()) {
      created->modules.push_back(LoadedModule{definition});
    }
    AddAbsentModulesOfEnvironment(&created->absent_modules);
    return created;
  }();
  return *registry;
}

LoadedModule* FindModule(Registry& registry, const std::string& key) {
  for (LoadedModule& module : registry.modules) {
    if (key == module.definition->name) return &module;
  }
  return nullptr;
}

HMODULE HandleOf(LoadedModule* module) { return reinterpret_cast<HMODULE>(module); }

// The record behind a handle that is loaded now (the program always is).
LoadedModule* LoadedRecord(Registry& registry, HMODULE handle) {
  if (handle == nullptr || handle == HandleOf(&registry.program)) return &registry.program;
  for (LoadedModule& module : registry.modules) {
    if (handle == HandleOf(&module) && module.reference_count > 0) return &module;
  }
  return nullptr;
}

template <class Result>
Result Fail(DWORD error, Result result) {
  SetLastError(error);
  return result;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR file_name) {
  if (file_name == nullptr) return Fail<HMODULE>(ERROR_INVALID_PARAMETER, nullptr);
  const std::string key = ModuleKey(file_name);
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  LoadedModule* module = FindModule(registry, key);
  if (module == nullptr || registry.absent_modules.count(key) != 0) {
    return Fail<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
  }
  ++module->reference_count;
  return HandleOf(module);
}

BOOL FreeLibrary(HMODULE handle) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  LoadedModule* module = LoadedRecord(registry, handle);
  if (module == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE, FALSE);
  if (module->definition != nullptr) --module->reference_count;
  return TRUE;
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR proc_name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  LoadedModule* module = LoadedRecord(registry, handle);
  if (module == nullptr) return Fail<FARPROC>(ERROR_INVALID_HANDLE, nullptr);
  // Values below 0x10000 are export ordinals, which no built-in module has.
  if (module->definition == nullptr || reinterpret_cast<std::uintptr_t>(proc_name) < 0x10000 ||
      registry.absent_exports.count({module->definition->name, proc_name}) != 0) {
    return Fail<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
  }
  for (const wqplat::ModuleExport& entry : module->definition->exports) {
    if (std::strcmp(entry.name, proc_name) == 0) return entry.address;
  }
  return Fail<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
}

HMODULE GetModuleHandleA(LPCSTR module_name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  if (module_name == nullptr) return HandleOf(&registry.program);
  LoadedModule* module = FindModule(registry, ModuleKey(module_name));
  if (module == nullptr || module->reference_count == 0) {
    return Fail<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
  }
  return HandleOf(module);
}

namespace {

template <class Key>
void SetMembership(std::set<Key>& set, Key key, bool member) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  if (member) {
    set.insert(std::move(key));
  } else {
    set.erase(key);
  }
}

}  // namespace

void WqControlSetModuleAbsent(const char* module_name, bool absent) {
  SetMembership(TheRegistry().absent_modules, ModuleKey(module_name), absent);
}

void WqControlSetExportAbsent(const char* module_name, const char* export_name, bool absent) {
  SetMembership(TheRegistry().absent_exports,
                std::make_pair(ModuleKey(module_name), std::string(export_name)), absent);
}
