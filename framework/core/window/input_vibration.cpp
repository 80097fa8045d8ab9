// Pad vibration: the wanted state of each pad, timed per frame, played on
// its constant-force effect, with the sine effect added at high power.
#include "core/window/input_devices.h"
#include "core/window/input_query.h"
#include "core/window/input_state.h"
#include "core/window/window_system_state.h"

namespace {

constexpr int kFullPower = 10000;
constexpr int kSinePowerThreshold = 5000;

// Starts or stops one effect to match `wanted`.
void MatchEffect(D_IDirectInputEffect* effect, bool wanted, int& playing) {
  if (effect == nullptr || wanted == (playing != 0)) return;
  if (wanted) {
    effect->Start(1, 0);
  } else {
    effect->Stop();
  }
  playing = wanted;
}

void StopVibration(JoypadVibration& vibration) {
  vibration.wanted = 0;
  vibration.power = kFullPower;
}

}  // namespace

int SetJoypadEffect() {
  InputState& input = Input();
  if (input.mode != InputMode::kDirectInput) return 0;
  const bool active = WindowSystem().active != 0;
  for (int index = 0; index < input.padCount; ++index) {
    JoypadRecord& pad = input.pads[index];
    JoypadVibration& vibration = pad.vibration;
    const bool vibrating = active && vibration.wanted;
    MatchEffect(pad.constantEffect, vibrating, vibration.constantPlaying);
    MatchEffect(pad.sineEffect, vibrating && vibration.power > kSinePowerThreshold,
                vibration.sinePlaying);
  }
  return 0;
}

int UpdateJoypadVibration() {
  InputState& input = Input();
  const int now = InputTimeMs();
  for (int index = 0; index < input.padCount; ++index) {
    JoypadVibration& vibration = input.pads[index].vibration;
    if (vibration.wanted && vibration.durationMs >= 0) {
      const int elapsed = now - vibration.lastTime;
      vibration.elapsedMs += elapsed > 0 ? elapsed : 0;
      if (vibration.elapsedMs >= vibration.durationMs) StopVibration(vibration);
    }
    vibration.lastTime = now;
  }
  return SetJoypadEffect();
}

int CancelJoypadEffect(int padCode) {
  int result = 0;
  if (!PrepareInputQuery(&result)) return result;
  InputState& input = Input();
  const int index = padCode - 1;
  if (index < 0 || index >= input.padCount) return 0;
  JoypadVibration& vibration = input.pads[index].vibration;
  if (vibration.wanted) {
    StopVibration(vibration);
    SetJoypadEffect();
  }
  return 0;
}
