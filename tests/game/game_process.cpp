#include "game/game_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <vector>

#include "support/wait_until.h"

extern char** environ;

namespace gametest {
namespace {

// Well inside the test's own time-out, so that a hung game is killed and
// reported rather than left running.
constexpr std::chrono::seconds kGameDeadline{840};

std::vector<std::string> Environment(const GameDataTree& tree, const GameRunSettings& settings) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string inherited = *entry;
    if (!inherited.starts_with("WQ_VIRTUAL_CLOCK=") && !inherited.starts_with("WQ_INPUT_SCRIPT=") &&
        !inherited.starts_with("WQ_CAPTURE_") && !inherited.starts_with("WQ_ABSENT_MODULES=") &&
        !(settings.ownLockFolder && inherited.starts_with("WQ_LOCK_DIR="))) {
      entries.push_back(inherited);
    }
  }
  if (settings.virtualClock) entries.push_back("WQ_VIRTUAL_CLOCK=1");
  if (settings.softwareRenderer) entries.push_back("WQ_ABSENT_MODULES=d3d9.dll");
  if (settings.ownLockFolder) entries.push_back("WQ_LOCK_DIR=" + tree.path().string());
  if (!settings.inputScript.empty()) {
    const auto script = tree.path() / "replay.txt";
    std::ofstream(script) << settings.inputScript;
    entries.push_back("WQ_INPUT_SCRIPT=" + script.string());
  }
  if (!settings.captureFrames.empty()) {
    std::filesystem::create_directories(tree.path() / "captures");
    entries.push_back("WQ_CAPTURE_FRAMES=" + settings.captureFrames);
    entries.push_back("WQ_CAPTURE_DIR=" + (tree.path() / "captures").string());
  }
  return entries;
}

}  // namespace

pid_t StartGame(const GameDataTree& tree, const GameRunSettings& settings) {
  std::vector<std::string> entries = Environment(tree, settings);
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string program = GAME_EXECUTABLE_PATH;
  char* argv[] = {program.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, tree.path().c_str());
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? child : -1;
}

int WaitForGame(pid_t child) {
  if (child <= 0) return -1;
  int status = 0;
  const bool ended = wqtest::WaitUntil([&] { return waitpid(child, &status, WNOHANG) == child; }, kGameDeadline);
  if (!ended) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunGame(const GameDataTree& tree, const GameRunSettings& settings) {
  return WaitForGame(StartGame(tree, settings));
}

}  // namespace gametest
