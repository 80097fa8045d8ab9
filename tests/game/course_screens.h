// The screens that wait for a key in the scripted player's courses, where
// the executable's replays show them: each stage clear with its count, as
// every course that wins the stage shows it, and game over.
#pragma once

#include <cstdint>

#include "game/golden_frames.h"

namespace gametest {

inline constexpr GoldenFrame kStageClears[] = {
    At(3306, "stage 1 clear: 30 seconds, bonus 750000, HP 30, bonus 450000, total 1503000", 9685802264618823039ull),
    At(5799, "stage 2 clear: 29 seconds, bonus 755000, HP 28, bonus 420000, total 2980100", 7981295147216805520ull),
    At(9181, "stage 3 clear: 39 seconds, bonus 705000, HP 29, bonus 435000, total 4445000", 7876982747207279773ull),
    At(12193, "stage 4 clear: 37 seconds, bonus 715000, HP 26, bonus 390000, total 5864100", 4702278207109660695ull),
    At(14933, "stage 5 clear: 30 seconds, bonus 750000, HP 27, bonus 405000, total 7323400", 16138372730576027877ull),
    At(18199, "stage 6 clear: 37 seconds, bonus 715000, HP 23, bonus 345000, total 8702300", 802110611189774643ull),
};

inline constexpr std::uint64_t kGameOverChecksum = 5556184897366560898ull;

}  // namespace gametest
