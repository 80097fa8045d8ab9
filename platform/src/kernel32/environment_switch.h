// An on/off setting of the layer that the environment decides at first use
// ("0" turns it off; unset or anything else leaves it on) and that a control
// can change at any time.
#pragma once

#include <atomic>
#include <cstdlib>
#include <string_view>

namespace wqplat {

class EnvironmentSwitch {
 public:
  explicit constexpr EnvironmentSwitch(const char* variable) : variable_(variable) {}

  bool IsOn() {
    int value = setting_.load();
    if (value < 0) {
      const char* text = std::getenv(variable_);
      int from_environment = text && std::string_view(text) == "0" ? 0 : 1;
      setting_.compare_exchange_strong(value, from_environment);
      value = setting_.load();
    }
    return value != 0;
  }

  void Set(bool on) { setting_.store(on ? 1 : 0); }

 private:
  const char* variable_;
  std::atomic<int> setting_{-1};  // -1 until decided
};

}  // namespace wqplat
