#include "d3d9/d3d9_controls.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <string>

#include "d3d9/device.h"
#include "platform/control_d3d9.h"

namespace wqplat {
namespace {

struct Controls {
  std::mutex lock;
  std::set<std::string> failing_calls;
  std::set<DWORD> refused_formats;
  std::optional<D_D3DCAPS9> caps;
  std::set<Device*> devices;
};

Controls& State() {
  static Controls controls;
  return controls;
}

// Most calls check for failures; this spares them the lock when none are set.
std::atomic<bool> any_failing_call{false};

}  // namespace

bool D3d9CallFails(const char* name) {
  if (!any_failing_call.load(std::memory_order_relaxed)) return false;
  std::lock_guard guard(State().lock);
  return State().failing_calls.count(name) != 0;
}

bool D3d9FormatRefused(D_D3DFORMAT format) {
  std::lock_guard guard(State().lock);
  return State().refused_formats.count(format) != 0;
}

std::optional<D_D3DCAPS9> D3d9CapsOverride() {
  std::lock_guard guard(State().lock);
  return State().caps;
}

void RegisterDevice(Device* device) {
  std::lock_guard guard(State().lock);
  State().devices.insert(device);
}

void UnregisterDevice(Device* device) {
  std::lock_guard guard(State().lock);
  State().devices.erase(device);
}

}  // namespace wqplat

using wqplat::State;

void WqControlSetD3d9CallFails(const char* name, bool fails) {
  std::lock_guard guard(State().lock);
  if (fails) {
    State().failing_calls.insert(name);
  } else {
    State().failing_calls.erase(name);
  }
  wqplat::any_failing_call = !State().failing_calls.empty();
}

void WqControlSetD3d9Caps(const D_D3DCAPS9* caps) {
  std::lock_guard guard(State().lock);
  State().caps = caps ? std::optional<D_D3DCAPS9>(*caps) : std::nullopt;
}

void WqControlSetD3d9FormatRefused(D_D3DFORMAT format, bool refused) {
  std::lock_guard guard(State().lock);
  if (refused) {
    State().refused_formats.insert(format);
  } else {
    State().refused_formats.erase(format);
  }
}

void WqControlLoseD3d9Devices() {
  std::lock_guard guard(State().lock);
  for (wqplat::Device* device : State().devices) device->Lose();
}
