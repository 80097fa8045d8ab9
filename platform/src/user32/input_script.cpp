#include "user32/input_script.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "kernel32/system_clock.h"
#include "platform/control.h"
#include "platform/user32.h"

namespace wqplat {
namespace {

constexpr std::uint64_t kFramesPerSecond = 60;

struct ScriptFrame {
  std::uint64_t frame;
  std::vector<BYTE> keys;
};

struct RunningScript {
  HWND window;
  std::uint64_t start_us;
  std::vector<ScriptFrame> frames;
  std::size_t next = 0;
  std::vector<BYTE> held;
};

std::mutex script_lock;
std::optional<RunningScript> running;

struct NamedKey {
  const char* name;
  BYTE virtual_key;
};
constexpr NamedKey kNamedKeys[] = {
    {"UP", VK_UP},         {"DOWN", VK_DOWN},       {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},
    {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE},   {"SPACE", VK_SPACE},   {"TAB", VK_TAB},
    {"BACK", VK_BACK},     {"SHIFT", VK_SHIFT},     {"CONTROL", VK_CONTROL}, {"MENU", VK_MENU},
    {"DELETE", VK_DELETE}, {"HOME", VK_HOME},       {"END", VK_END},       {"PRIOR", VK_PRIOR},
    {"NEXT", VK_NEXT},     {"INSERT", VK_INSERT},
};

// The number lowest..highest after the prefix, or -1.
int NumberAfter(const std::string& name, const std::string& prefix, int lowest, int highest) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  std::string digits = name.substr(prefix.size());
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      digits.size() > 2) {
    return -1;
  }
  int number = std::atoi(digits.c_str());
  return number >= lowest && number <= highest ? number : -1;
}

std::optional<BYTE> VirtualKeyOfName(const std::string& name) {
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
    return static_cast<BYTE>(name[0]);
  }
  for (const NamedKey& key : kNamedKeys) {
    if (name == key.name) return key.virtual_key;
  }
  if (int f = NumberAfter(name, "F", 1, 12); f > 0) return static_cast<BYTE>(VK_F1 + f - 1);
  if (int n = NumberAfter(name, "NUMPAD", 0, 9); n >= 0) return static_cast<BYTE>(VK_NUMPAD0 + n);
  return std::nullopt;
}

std::optional<std::vector<ScriptFrame>> ParseScript(std::istream& input) {
  std::vector<ScriptFrame> frames;
  std::string line;
  while (std::getline(input, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    char* end = nullptr;
    unsigned long long frame = std::strtoull(word.c_str(), &end, 10);
    if (*end != '\0' || (!frames.empty() && frame < frames.back().frame)) return std::nullopt;
    ScriptFrame entry{frame, {}};
    while (words >> word) {
      auto key = VirtualKeyOfName(word);
      if (!key) return std::nullopt;
      entry.keys.push_back(*key);
    }
    frames.push_back(std::move(entry));
  }
  return frames;
}

bool Holds(const std::vector<BYTE>& keys, BYTE key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

void ApplyDueInputScript() {
  HWND window;
  std::vector<std::pair<BYTE, bool>> changes;
  {
    std::lock_guard lock(script_lock);
    if (!running) return;
    std::uint64_t frame_now = (NowUs() - running->start_us) * kFramesPerSecond / 1'000'000;
    window = running->window;
    while (running->next < running->frames.size() &&
           running->frames[running->next].frame <= frame_now) {
      const std::vector<BYTE>& keys = running->frames[running->next++].keys;
      for (BYTE key : running->held) {
        if (!Holds(keys, key)) changes.emplace_back(key, false);
      }
      for (BYTE key : keys) {
        if (!Holds(running->held, key)) changes.emplace_back(key, true);
      }
      running->held = keys;
    }
  }
  // Outside the lock: injecting reaches the window's thread, which may read
  // the keyboard in turn.
  for (auto [key, down] : changes) WqControlInjectKey(window, key, down);
}

}  // namespace wqplat

bool WqControlStartInputScript(HWND window, const char* path) {
  std::ifstream file(path ? path : "");
  if (!file) return false;
  auto frames = wqplat::ParseScript(file);
  if (!frames) return false;
  {
    std::lock_guard lock(wqplat::script_lock);
    wqplat::running = wqplat::RunningScript{window, wqplat::NowUs(), std::move(*frames), 0, {}};
  }
  wqplat::ApplyDueInputScript();
  return true;
}

void WqControlStopInputScript() {
  std::lock_guard lock(wqplat::script_lock);
  wqplat::running.reset();
}

namespace wqplat {

void StartEnvironmentInputScript(HWND window) {
  static std::once_flag first_window;
  std::call_once(first_window, [window] {
    const char* path = std::getenv("WQ_INPUT_SCRIPT");
    if (path == nullptr || path[0] == '\0') return;
    if (!WqControlStartInputScript(window, path)) {
      std::fprintf(stderr, "WQ_INPUT_SCRIPT: cannot read the script %s\n", path);
    }
  });
}

}  // namespace wqplat
