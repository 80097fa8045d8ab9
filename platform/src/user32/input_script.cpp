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

std::uint64_t ScriptFrameAt(std::uint64_t now_us, std::uint64_t start_us) {
  return (now_us - start_us) * kFramesPerSecond / 1'000'000;
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
    std::uint64_t frame_now = ScriptFrameAt(NowUs(), running->start_us);
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

namespace wqplat {
namespace {

bool StartScript(HWND window, const char* path, std::uint64_t start_us) {
  std::ifstream file(path ? path : "");
  if (!file) return false;
  auto frames = ParseScript(file);
  if (!frames) return false;
  {
    std::lock_guard lock(script_lock);
    running = RunningScript{window, start_us, std::move(*frames), 0, {}};
  }
  ApplyDueInputScript();
  return true;
}

// Half a frame before the last vertical blank of the 60 Hz grid (blank k at
// ceil(k * 1e6 / 60) us): a program that reads the keyboard just after
// each blank then reads every frame of the script in its middle, so that
// work of varying length before the read (a sound started, a wait for a
// thread) cannot move a read into the next frame of the script.
std::uint64_t FrameCentredStart(std::uint64_t now_us) {
  const std::uint64_t last_blank_index = now_us * kFramesPerSecond / 1'000'000;
  const std::uint64_t last_blank = (last_blank_index * 1'000'000 + kFramesPerSecond - 1) / kFramesPerSecond;
  const std::uint64_t half_frame = 1'000'000 / kFramesPerSecond / 2;
  return last_blank - half_frame;
}

}  // namespace
}  // namespace wqplat

bool WqControlStartInputScript(HWND window, const char* path) {
  return wqplat::StartScript(window, path, wqplat::NowUs());
}

void WqControlStopInputScript() {
  std::lock_guard lock(wqplat::script_lock);
  wqplat::running.reset();
}

std::int64_t WqControlInputScriptFrame() {
  std::lock_guard lock(wqplat::script_lock);
  if (!wqplat::running) return -1;
  const std::uint64_t now = wqplat::VirtualClockEnabled() ? wqplat::PeekVirtualClockUs() : wqplat::NowUs();
  return static_cast<std::int64_t>(wqplat::ScriptFrameAt(now, wqplat::running->start_us));
}

bool WqControlAppendInputScript(const char* lines) {
  std::istringstream text(lines ? lines : "");
  auto frames = wqplat::ParseScript(text);
  std::lock_guard lock(wqplat::script_lock);
  if (!frames || !wqplat::running) return false;
  std::vector<wqplat::ScriptFrame>& script = wqplat::running->frames;
  if (!frames->empty() && !script.empty() && frames->front().frame < script.back().frame) return false;
  script.insert(script.end(), frames->begin(), frames->end());
  return true;
}

namespace wqplat {

void StartEnvironmentInputScript(HWND window) {
  static std::once_flag first_window;
  std::call_once(first_window, [window] {
    const char* path = std::getenv("WQ_INPUT_SCRIPT");
    if (path == nullptr || path[0] == '\0') return;
    if (!StartScript(window, path, FrameCentredStart(NowUs()))) {
      std::fprintf(stderr, "WQ_INPUT_SCRIPT: cannot read the script %s\n", path);
    }
  });
}

}  // namespace wqplat
