// The helper-process registry and the spawning of this executable as one.
#include "support/child_process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <string_view>

extern char** environ;

namespace wqtest {
namespace {

constexpr std::string_view kChildSwitch = "--wq-child-process=";

std::map<std::string, ChildProcessMain>& Registry() {
  static std::map<std::string, ChildProcessMain> registry;
  return registry;
}

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

}  // namespace

bool RegisterChildProcess(const char* name, ChildProcessMain main) {
  return Registry().emplace(name, main).second;
}

bool RunChildProcessIfAsked(int argc, char** argv, int* exit_code) {
  if (argc < 2 || !std::string_view(argv[1]).starts_with(kChildSwitch)) return false;
  const auto found = Registry().find(std::string(argv[1] + kChildSwitch.size()));
  *exit_code = found == Registry().end() ? 2 : found->second();
  return true;
}

pid_t StartChildProcess(const std::string& name, const std::vector<std::string>& environment) {
  std::vector<std::string> entries = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string inherited = *entry;
    bool replaced = false;
    for (const std::string& given : environment) replaced = replaced || NameOf(given) == NameOf(inherited);
    if (!replaced) entries.push_back(inherited);
  }
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string child_switch = std::string(kChildSwitch) + name;
  char* argv[] = {program.data(), child_switch.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
  return child;
}

int WaitForChildProcess(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int RunChildProcess(const std::string& name, const std::vector<std::string>& environment) {
  const pid_t child = StartChildProcess(name, environment);
  return child < 0 ? -1 : WaitForChildProcess(child);
}

}  // namespace wqtest
