// Reviewed pictures of a replay and their search among the captured frames.
// Start-up work on a loaded machine can move the title's first frame by a
// few presents, so each picture is looked for in a window of frames around
// where it stands, not at one frame number. A picture the game waits on
// shows in two frames in a row: presented before the wait, and again by
// the frame loop after it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game/frame_checksum.h"
#include "game/game_data_tree.h"
#include "game/in_process_game.h"

namespace gametest {

struct GoldenFrame {
  int first;
  int last;
  const char* shows;
  std::uint64_t checksum;
  int framesInARow;
};

// A picture at exactly one frame: on the virtual clock a replay presents
// every frame at the same place in every run.
constexpr GoldenFrame At(int frame, const char* shows, std::uint64_t checksum) {
  return {frame, frame, shows, checksum, 1};
}

// Every frame of every window, "14,15,...": the frames to capture.
inline std::string CaptureList(std::span<const GoldenFrame> pictures) {
  std::string list;
  for (const GoldenFrame& golden : pictures) {
    for (int frame = golden.first; frame <= golden.last; ++frame) {
      list += (list.empty() ? "" : ",") + std::to_string(frame);
    }
  }
  return list;
}

// Each picture shows in its window, after the one before it, in as many
// frames in a row as it should: the first frame of each (0 where missing).
inline std::vector<int> FindGoldenFrames(const GameDataTree& tree, std::span<const GoldenFrame> pictures) {
  std::vector<int> firstFrames;
  int previous = 0;
  for (const GoldenFrame& golden : pictures) {
    int found = 0;
    int inARow = 0;
    for (int frame = std::max(golden.first, previous + 1); frame <= golden.last; ++frame) {
      // A frame past the end of the run is never presented.
      const auto checksum = FrameChecksum(CapturedFrame(tree, frame), 882, 820);
      if (checksum != golden.checksum) {
        if (found != 0) break;
        continue;
      }
      if (found == 0) found = frame;
      ++inARow;
    }
    const auto firstChecksum = FrameChecksum(CapturedFrame(tree, golden.first), 882, 820);
    EXPECT_NE(found, 0) << golden.shows << ": not among frames " << golden.first << " to " << golden.last << " ("
                        << tree.path() / "captures" << "; frame " << golden.first << " has checksum "
                        << firstChecksum.value_or(0) << ")";
    EXPECT_GE(inARow, golden.framesInARow) << golden.shows << " from frame " << found;
    if (found != 0) previous = found;
    firstFrames.push_back(found);
  }
  return firstFrames;
}

inline void ExpectGoldenFrames(const GameDataTree& tree, std::span<const GoldenFrame> pictures) {
  FindGoldenFrames(tree, pictures);
}

}  // namespace gametest
