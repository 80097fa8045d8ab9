#include "game/autopilot/scripted_play.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/window/window_system_state.h"
#include "dialogue_step.h"
#include "game/in_process_game.h"
#include "game_state.h"
#include "platform/control.h"

namespace gametest {
namespace {

constexpr int kLastStageScene = 25;
constexpr int kEndingScene = 27;
// The run's end scene before it ends, and after it ended without a script.
constexpr int kStillPlaying = -1;
constexpr int kNoScript = -2;
// Enter goes down on a beat of the script, when the title or a dialogue
// step shown long enough takes it, and up again in the next frame. The
// beat leaves 30 frames beyond a step's minimum: start-up and the title's
// sound take no fixed time, and the slack lets a replay press at the same
// frames of the script in the same steps, which brings it back in step.
constexpr std::int64_t kEnterBeat = 90;
// A screen that waits for any key gets Space this many frames after it
// shows, for one frame.
constexpr std::int64_t kAnswerAfter = 30;
// Frames from the end scene's frame to Alt+F4, and how long it is held.
constexpr std::int64_t kCloseAfter = 30;
constexpr std::int64_t kCloseHold = 10;

struct Run {
  ScriptedCourse course;
  std::size_t routeIndex = 0;  // the next scene of the route to pass
  int lastScene = -1;          // the scene of the hook's last call
  KeySet held = 0;
  std::int64_t lastFrame = -1;  // the frame of the last line appended
  std::int64_t nextEnter = kEnterBeat;
  int endScene = kStillPlaying;
  std::string notes;  // comment lines on the screens that wait for a key
  std::string script;
};

Run run;

bool IsBattleScene(int scene) { return scene >= 4 && scene <= 24 && scene % 4 == 0; }
bool IsDialogueScene(int scene) {
  return (scene >= 3 && scene <= kLastStageScene && scene % 2 == 1) || scene == kEndingScene;
}
bool WaitsForAnyKey(int scene) {
  return scene == kEndPictureScene || (scene >= StageClearScene(1) && scene <= StageClearScene(6) &&
                                       (scene - StageClearScene(1)) % 4 == 0);
}

bool TakesEnter(int scene) {
  return scene == kTitleScene || (IsDialogueScene(scene) && dialogueTimer + 1 >= DIALOGUE_MIN_FRAMES);
}

KeySet ChooseKeys(int scene, std::int64_t frame) {
  if (IsBattleScene(scene)) return ChooseBattleKeys(run.course.battles[scene / 4 - 1], run.held);
  const bool enterHeld = (run.held & kKeyEnter) != 0;
  if (!enterHeld && frame >= run.nextEnter && TakesEnter(scene)) {
    run.nextEnter = frame + kEnterBeat;
    return kKeyEnter;
  }
  return 0;
}

void Append(const std::string& lines) {
  WqControlAppendInputScript(lines.c_str());
  run.script += lines;
}

std::string Line(std::int64_t frame, KeySet keys) {
  const std::string names = KeyNames(keys);
  return std::to_string(frame) + (names.empty() ? "" : " " + names) + "\n";
}

// The run's outcome, as the game stands before the end scene runs.
std::string Outcome() {
  return "# ends in scene " + std::to_string(sceneNumber) + ": score " + std::to_string(score) + ", player HP " +
         std::to_string(static_cast<int>(player.hp)) + ", boss stocks " + std::to_string(boss.stocks) +
         ", battle clock " + std::to_string(battleClock.seconds) + " s " + std::to_string(battleClock.frames) +
         " frames\n";
}

// The frames presented before a screen that waits for a key, and what the
// game stands at before the scene runs.
std::string Note() {
  return "# after frame " + std::to_string(WqControlPresentedFrameCount()) + " scene " +
         std::to_string(sceneNumber) + " shows: score " + std::to_string(score) + ", player HP " +
         std::to_string(static_cast<int>(player.hp)) + ", bombs " + std::to_string(bombs) + "\n";
}

// Releases every key at the first free frame of the script, then holds
// `keys` from `after` frames on for `hold` frames.
void ReleaseThenPress(std::int64_t frame, std::int64_t after, KeySet keys, std::int64_t hold) {
  const std::int64_t release = std::max(frame, run.lastFrame + 1);
  Append(Line(release, 0) + Line(release + after, keys) + Line(release + after + hold, 0));
  run.held = 0;
  run.lastFrame = release + after + hold;
}

// True when the scene about to run is the route's next; the last one ends
// the run.
bool ReachesEndOfRoute(int scene) {
  const std::vector<int>& route = run.course.route;
  if (run.routeIndex < route.size() && scene == route[run.routeIndex]) ++run.routeIndex;
  return run.routeIndex == route.size();
}

// Keys change only at a frame of the script later than the last change: a
// frame of the game that stands at the same script frame as the one before
// keeps its keys, as a replay of the script would.
void PlayFrame() {
  if (run.endScene != kStillPlaying) return;
  const std::int64_t scriptFrame = WqControlInputScriptFrame();
  if (scriptFrame < 0) {
    // The platform starts the environment's script on a process's first
    // window only: a second run in one process has none to write to.
    run.endScene = kNoScript;
    WqControlCloseWindow(GetMainWindow());
    return;
  }
  // This frame's message pump has read the keyboard already, and the
  // game's read in the same millisecond takes that state: a line for the
  // script's current frame would reach the game a frame later here than in
  // a replay, whose pump takes it. The keys go into the script's next frame,
  // which the next frame's pump takes in both.
  const std::int64_t frame = scriptFrame + 1;
  const bool sceneChanged = sceneNumber != run.lastScene;
  run.lastScene = sceneNumber;
  if (sceneChanged && (WaitsForAnyKey(sceneNumber) || sceneNumber == kGameOverScene)) {
    run.notes += Note();
  }
  if (sceneChanged && ReachesEndOfRoute(sceneNumber)) {
    run.endScene = sceneNumber;
    run.script = Outcome() + run.notes + run.script;
    ReleaseThenPress(frame, kCloseAfter, kKeyMenu | kKeyF4, kCloseHold);
    return;
  }
  if (sceneChanged && WaitsForAnyKey(sceneNumber)) {
    ReleaseThenPress(frame, kAnswerAfter, kKeySpace, 1);
    return;
  }
  if (frame <= run.lastFrame) return;
  const KeySet keys = ChooseKeys(sceneNumber, frame);
  if (keys == run.held) return;
  Append(Line(frame, keys));
  run.held = keys;
  run.lastFrame = frame;
}

}  // namespace

ScriptedPlayResult PlayScripted(const GameDataTree& tree, const ScriptedCourse& course, const std::string& capture) {
  run = Run{};
  run.course = course;
  const int exitCode = RunGameInProcess(tree, "", capture, PlayFrame);
  WqControlStopInputScript();
  return {exitCode, run.endScene, run.script};
}

}  // namespace gametest
