#include "dinput/input_effect.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "dinput/input_device.h"
#include "ole32/com_object.h"

namespace wqplat {
namespace {

class RumbleEffect final : public ComObject<D_IDirectInputEffect, D_IID_IDirectInputEffect> {
 public:
  RumbleEffect(InputDevice* device, Motor motor, std::uint16_t strength)
      : device_(device), motor_(motor), strength_(strength) {
    device_->AddRef();
  }

  HRESULT Start(DWORD iterations, DWORD) override {
    if (iterations != 1) return D_DIERR_UNSUPPORTED;
    playing_ = true;
    device_->DriveMotor(motor_, strength_);
    return D_DI_OK;
  }
  HRESULT Stop() override {
    if (playing_.exchange(false)) device_->DriveMotor(motor_, 0);
    return D_DI_OK;
  }

 private:
  ~RumbleEffect() override {
    Stop();
    device_->Release();
  }

  InputDevice* const device_;
  const Motor motor_;
  const std::uint16_t strength_;
  std::atomic<bool> playing_{false};
};

// Magnitude and gain (each 0..10000) as a motor strength 0..0xFFFF.
std::uint16_t Strength(long magnitude, DWORD gain) {
  long long product = std::min<long long>(std::labs(magnitude), D_DI_FFNOMINALMAX) *
                      std::min<DWORD>(gain, D_DI_FFNOMINALMAX);
  return static_cast<std::uint16_t>(product * 0xFFFF / (1LL * D_DI_FFNOMINALMAX * D_DI_FFNOMINALMAX));
}

}  // namespace

HRESULT CreateRumbleEffect(InputDevice* device, REFGUID effect_type, const D_DIEFFECT* parameters,
                           D_IDirectInputEffect** effect) {
  if (!parameters || parameters->dwSize != sizeof(D_DIEFFECT) || !parameters->lpvTypeSpecificParams) {
    return D_DIERR_INVALIDPARAM;
  }
  if (effect_type == D_GUID_ConstantForce) {
    if (parameters->cbTypeSpecificParams != sizeof(D_DICONSTANTFORCE)) return D_DIERR_INVALIDPARAM;
    auto* force = static_cast<const D_DICONSTANTFORCE*>(parameters->lpvTypeSpecificParams);
    *effect = new RumbleEffect(device, Motor::kStrong, Strength(force->lMagnitude, parameters->dwGain));
    return D_DI_OK;
  }
  if (effect_type == D_GUID_Sine) {
    if (parameters->cbTypeSpecificParams != sizeof(D_DIPERIODIC)) return D_DIERR_INVALIDPARAM;
    auto* periodic = static_cast<const D_DIPERIODIC*>(parameters->lpvTypeSpecificParams);
    *effect = new RumbleEffect(device, Motor::kWeak,
                               Strength(static_cast<long>(periodic->dwMagnitude), parameters->dwGain));
    return D_DI_OK;
  }
  return D_DIERR_UNSUPPORTED;
}

}  // namespace wqplat
