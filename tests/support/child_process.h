// Helper processes a test starts from its own executable: a named function
// that main() runs in place of the tests when the command line asks for it.
// Helpers are registered here rather than as tests, so a suite run neither
// runs them on their own nor lists them as skipped.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace wqtest {

// A helper's whole work; its result is the process's exit code.
using ChildProcessMain = int (*)();

// Registers a helper under `name`; the result only serves static
// initialisation (see WQ_CHILD_PROCESS).
bool RegisterChildProcess(const char* name, ChildProcessMain main);

// Defines and registers a helper process, used as
//   WQ_CHILD_PROCESS(Name) { ...; return exitCode; }
#define WQ_CHILD_PROCESS(name)                                                                            \
  int name##ChildProcess();                                                                              \
  [[maybe_unused]] const bool name##ChildProcessRegistered =                                             \
      ::wqtest::RegisterChildProcess(#name, name##ChildProcess);                                         \
  int name##ChildProcess()

// For main(): true when the command line names a helper, which has then
// run and left its exit code.
bool RunChildProcessIfAsked(int argc, char** argv, int* exit_code);

// Starts this executable as the named helper, with the environment entries
// ("NAME=value") in place of inherited ones of the same name. The child's
// process id, or -1.
pid_t StartChildProcess(const std::string& name, const std::vector<std::string>& environment);
// Waits for the child to end: its exit status, or -1 when it did not exit
// normally.
int WaitForChildProcess(pid_t child);
// Both: the helper's exit status, or -1.
int RunChildProcess(const std::string& name, const std::vector<std::string>& environment);

}  // namespace wqtest
