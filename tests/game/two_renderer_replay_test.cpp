// The real game executable replays the scripted player's courses on the
// Direct3D device and on the software screen (a machine without Direct3D
// 9) at once: stage 1's battle won and lost, and the whole game won from
// the title through the ending back to the title. Reviewed frames check
// what the HUD shows (score, HP pips, the boss's stocks, bombs) in the
// battle, each stage clear's count (battle seconds, HP, bonuses, total),
// the ending's conversation and staff, the end picture and game over. Both
// renderers replay the same course; their frames agree as the renderer
// tests ask of them: at most 1% of the pixels more than 40 apart in a
// channel. Edges of the turned and scaled sprites fall a pixel apart on the
// two renderers, and a battle frame is full of them, so a pixel counts as
// apart only when no pixel of the other frame within one pixel of it comes
// within 40.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "game/autopilot/battle_scripts.h"
#include "game/course_screens.h"
#include "game/frame_checksum.h"
#include "game/game_log_checks.h"
#include "game/game_process.h"
#include "game/golden_frames.h"

namespace {

using gametest::At;
using gametest::DataSource;
using gametest::GameDataTree;
using gametest::GoldenFrame;

constexpr int kChannelTolerance = 40;
constexpr double kApartPixelShare = 0.01;

// The won battle takes no hit and drops no bomb; it lasts 30 seconds.
const GoldenFrame kWonOnDevice[] = {
    At(1386, "first stock: score 39300, 30 HP pips, 3 stocks, 3 bombs", 16165985180637838280ull),
    At(1886, "second stock: score 113900, 30 HP pips, 2 stocks, 3 bombs", 13487498269350834824ull),
    At(2586, "last stock with its two circles: score 231500, 30 HP pips, no stock, 3 bombs",
           6643078572063834473ull),
    gametest::kStageClears[0],
};
const GoldenFrame kWonOnSoftware[] = {
    At(1386, "first stock on the software screen", 6784343071964988482ull),
    At(1886, "second stock on the software screen", 4035727340407686520ull),
    At(2586, "last stock on the software screen", 16612735335194725592ull),
    gametest::kStageClears[0],
};
// The lost battle walks up into the boss's rings: game over after two
// seconds, with the score still 0.
const GoldenFrame kLostOnDevice[] = {
    At(1236, "half the HP pips left: score 0, 3 stocks, 3 bombs", 18354839863494346945ull),
    At(1257, "the last battle frame: 4 HP pips, the player on the boss", 14795597701358704423ull),
    At(1258, "game over", gametest::kGameOverChecksum),
};
const GoldenFrame kLostOnSoftware[] = {
    At(1236, "half the HP pips on the software screen", 3359103179280058726ull),
    At(1257, "the last battle frame on the software screen", 6059958984600330541ull),
    At(1258, "game over on the software screen", gametest::kGameOverChecksum),
};

// The whole game: every stage clear, then the ending and the title again.
// The software screen draws the title's glow a little apart from the device.
constexpr std::array<GoldenFrame, 10> WholeGame(std::uint64_t titleChecksum) {
  const GoldenFrame* clears = gametest::kStageClears;
  return {clears[0],
          clears[1],
          clears[2],
          clears[3],
          clears[4],
          clears[5],
          At(18360, "the ending's conversation: the player's last line", 14086622654942436594ull),
          At(18540, "the last staff page: thanks, two entries", 234257274851012293ull),
          At(18542, "the end picture", 17601711335535723963ull),
          At(18550, "the title again", titleChecksum)};
}
constexpr std::array<GoldenFrame, 10> kWholeGameOnDevice = WholeGame(7687561828485529475ull);
constexpr std::array<GoldenFrame, 10> kWholeGameOnSoftware = WholeGame(14056698361395233254ull);

// Under the sanitizers the software screen takes about ten minutes for the
// whole game's 18,500 frames: there the device replays it alone.
#if defined(__SANITIZE_ADDRESS__)
const std::span<const GoldenFrame> kWholeGameOnSoftwareHere;
#else
const std::span<const GoldenFrame> kWholeGameOnSoftwareHere = kWholeGameOnSoftware;
#endif

struct RendererReplay {
  const char* name;
  const char* course;
  std::span<const GoldenFrame> onDevice;
  std::span<const GoldenFrame> onSoftware;
};

// The share of pixels of `a` that no pixel of `b` within one pixel of the
// same place comes within the tolerance of, in every channel.
double ApartPixelShare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  constexpr int kWidth = 882;
  constexpr int kHeight = 820;
  const auto near = [&](int x, int y, int bx, int by) {
    const std::size_t i = (static_cast<std::size_t>(y) * kWidth + x) * 3;
    const std::size_t j = (static_cast<std::size_t>(by) * kWidth + bx) * 3;
    for (int c = 0; c < 3; ++c) {
      if (std::abs(static_cast<int>(a[i + c]) - static_cast<int>(b[j + c])) > kChannelTolerance) return false;
    }
    return true;
  };
  std::size_t apart = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      bool matched = false;
      for (int by = std::max(0, y - 1); by <= std::min(kHeight - 1, y + 1) && !matched; ++by) {
        for (int bx = std::max(0, x - 1); bx <= std::min(kWidth - 1, x + 1) && !matched; ++bx) {
          matched = near(x, y, bx, by);
        }
      }
      if (!matched) ++apart;
    }
  }
  return static_cast<double>(apart) / (kWidth * kHeight);
}

void ExpectAlike(const GameDataTree& device, int deviceFrame, const GameDataTree& software, int softwareFrame,
                 const char* shows) {
  const auto a = gametest::FramePixels(gametest::CapturedFrame(device, deviceFrame), 882, 820);
  const auto b = gametest::FramePixels(gametest::CapturedFrame(software, softwareFrame), 882, 820);
  ASSERT_TRUE(a.has_value() && b.has_value()) << shows;
  EXPECT_LE(ApartPixelShare(*a, *b), kApartPixelShare) << shows << ", device against software";
  EXPECT_LE(ApartPixelShare(*b, *a), kApartPixelShare) << shows << ", software against device";
}

void PrintTo(const RendererReplay& replay, std::ostream* os) { *os << replay.name; }

class ReplayOnBothRenderers : public testing::TestWithParam<RendererReplay> {};

TEST_P(ReplayOnBothRenderers, FollowsTheScriptOnBothRenderers) {
  const RendererReplay& replay = GetParam();
  const std::string script = gametest::StoredScript(*gametest::FindRecordedCourse(replay.course));
  ASSERT_FALSE(script.empty());
  const bool onBoth = !replay.onSoftware.empty();
  const GameDataTree device(DataSource::kPlainFiles);
  const GameDataTree software(DataSource::kPlainFiles);
  const pid_t onDevice = gametest::StartGame(
      device, {.inputScript = script, .captureFrames = gametest::CaptureList(replay.onDevice), .ownLockFolder = true});
  const pid_t onSoftware = onBoth ? gametest::StartGame(software, {.inputScript = script,
                                                                   .captureFrames = gametest::CaptureList(replay.onSoftware),
                                                                   .softwareRenderer = true,
                                                                   .ownLockFolder = true})
                                  : 0;
  EXPECT_EQ(gametest::WaitForGame(onDevice), 0);
  gametest::ExpectCleanEnd(device.ReadLog());
  const std::vector<int> deviceFrames = gametest::FindGoldenFrames(device, replay.onDevice);
  if (!onBoth) return;

  EXPECT_EQ(gametest::WaitForGame(onSoftware), 0);
  gametest::ExpectCleanEnd(software.ReadLog());
  EXPECT_NE(software.ReadLog().find("d3d9.dll の読み込みに失敗しました"), std::string::npos);
  const std::vector<int> softwareFrames = gametest::FindGoldenFrames(software, replay.onSoftware);
  for (std::size_t i = 0; i < deviceFrames.size(); ++i) {
    if (deviceFrames[i] != 0 && softwareFrames[i] != 0) {
      ExpectAlike(device, deviceFrames[i], software, softwareFrames[i], replay.onDevice[i].shows);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Courses, ReplayOnBothRenderers,
                         testing::Values(RendererReplay{"Stage1Won", "stage1_won", kWonOnDevice, kWonOnSoftware},
                                         RendererReplay{"Stage1Lost", "stage1_lost", kLostOnDevice, kLostOnSoftware},
                                         RendererReplay{"WholeGame", "whole_game", kWholeGameOnDevice,
                                                        kWholeGameOnSoftwareHere}),
                         [](const testing::TestParamInfo<RendererReplay>& info) { return info.param.name; });

}  // namespace
