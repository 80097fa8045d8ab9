#include "dsound/sound_device_choice.h"

#include <cstdlib>
#include <cstring>
#include <optional>

#include "kernel32/system_clock.h"

namespace wqplat {
namespace {

struct Choice {
  std::mutex lock;
  std::optional<WqSoundDevice> chosen;
  std::weak_ptr<SoundDevice> manual_device;
};

Choice& TheChoice() {
  static Choice choice;
  return choice;
}

WqSoundDevice DeviceFromEnvironment() {
  const char* name = std::getenv("WQ_SOUND_DEVICE");
  if (name == nullptr) return WqSoundDevice::kSystem;
  if (std::strcmp(name, "silent") == 0) return WqSoundDevice::kSilent;
  if (std::strcmp(name, "manual") == 0) return WqSoundDevice::kManual;
  return WqSoundDevice::kSystem;
}

}  // namespace

WqSoundDevice ChosenSoundDevice() {
  Choice& choice = TheChoice();
  std::lock_guard guard(choice.lock);
  const WqSoundDevice device = choice.chosen.value_or(DeviceFromEnvironment());
  // A real device plays in real time, which a virtual clock would not follow.
  if (device == WqSoundDevice::kSystem && VirtualClockEnabled()) return WqSoundDevice::kSilent;
  return device;
}

void RememberOpenedSoundDevice(const std::shared_ptr<SoundDevice>& device) {
  if (device->output() != SoundDevice::Output::kManual) return;
  Choice& choice = TheChoice();
  std::lock_guard guard(choice.lock);
  choice.manual_device = device;
}

}  // namespace wqplat

void WqControlSetSoundDevice(WqSoundDevice device) {
  wqplat::Choice& choice = wqplat::TheChoice();
  std::lock_guard guard(choice.lock);
  choice.chosen = device;
}

std::size_t WqControlMixSound(void* output, std::uint32_t frames) {
  std::shared_ptr<wqplat::SoundDevice> device;
  {
    wqplat::Choice& choice = wqplat::TheChoice();
    std::lock_guard guard(choice.lock);
    device = choice.manual_device.lock();
  }
  if (!device || output == nullptr) return 0;
  return device->Render(output, frames);
}
