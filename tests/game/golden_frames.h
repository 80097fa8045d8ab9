// Reviewed frames of a replay: which presented frames to capture, and the
// comparison of the captures with the checksums frozen after review.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "game/frame_checksum.h"
#include "game/game_data_tree.h"
#include "game/in_process_game.h"

namespace gametest {

struct GoldenFrame {
  int frame;
  const char* shows;
  std::uint64_t checksum;
};

// "20,45,100": the frames to capture.
inline std::string CaptureList(std::span<const GoldenFrame> frames) {
  std::string list;
  for (const GoldenFrame& golden : frames) list += (list.empty() ? "" : ",") + std::to_string(golden.frame);
  return list;
}

inline void ExpectGoldenFrames(const GameDataTree& tree, std::span<const GoldenFrame> frames) {
  for (const GoldenFrame& golden : frames) {
    const auto capture = CapturedFrame(tree, golden.frame);
    const auto checksum = FrameChecksum(capture, 882, 820);
    ASSERT_TRUE(checksum.has_value()) << "frame " << golden.frame << " not captured";
    EXPECT_EQ(*checksum, golden.checksum) << "frame " << golden.frame << ": " << golden.shows << " (" << capture
                                          << ")";
  }
}

}  // namespace gametest
