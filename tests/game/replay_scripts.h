// Input scripts of the replay tests. Frames are 1/60 s of the virtual clock
// from the moment the window is shown (the title comes up about half a
// second later, after the screen is set up); every key is held for ten of
// them, so that the game's once-a-frame keyboard read surely sees it.
// Pauses (the first battle frame, the staff pages) take virtual time
// without frames, so the frames below are where the game stands on that
// clock.
#pragma once

#include <string>

namespace gametest {

// `key` pressed at `first` and then every `interval` frames up to `last`.
inline std::string KeyEvery(const std::string& key, int first, int last, int interval) {
  std::string script;
  for (int frame = first; frame <= last; frame += interval) {
    script += std::to_string(frame) + " " + key + "\n" + std::to_string(frame + 10) + "\n";
  }
  return script;
}

// Enter every `interval` frames: each press comes when the dialogue step
// shown has been up for the sixty frames it needs, and also serves as the
// key a waiting screen wants.
inline std::string EnterEvery(int first, int last, int interval = 64) {
  return KeyEvery("RETURN", first, last, interval);
}

// SPACE, which the game reads nowhere else, every twenty frames: the key
// each stage clear and the end picture wait for, wherever the game stands.
inline std::string SpaceEvery(int first, int last) { return KeyEvery("SPACE", first, last, 20); }

// The title's cursor goes down to quit and back up.
inline const std::string kTitleCursorDownAndUp =
    "60 DOWN\n"
    "70\n"
    "80 UP\n"
    "90\n";

// The title's cursor down to quit at `frame`, and quit.
inline std::string QuitAt(int frame) {
  return std::to_string(frame) + " DOWN\n" + std::to_string(frame + 10) + "\n" + std::to_string(frame + 20) +
         " RETURN\n" + std::to_string(frame + 30) + "\n";
}

// Into the game and through stage 1's opening dialogue into its battle,
// where the player stands still under the boss's fire for some seconds,
// then the window is closed with Alt+F4. Enter starts the game at frame 100
// and reads every step; the battle is on before frame 1000.
inline const std::string kIntoStage1BattleThenClose = kTitleCursorDownAndUp + EnterEvery(100, 1000) +
                                                      "1300 MENU F4\n"
                                                      "1310\n";

// One game for a replay that skips every conversation (see
// SkipConversation): the game starts at frame 100, SPACE at 600 ends the
// screen it waits on (the end picture, or game over), then quit.
inline const std::string kOneQuickGameThenQuit = kTitleCursorDownAndUp +
                                                 "100 RETURN\n"
                                                 "110\n"
                                                 "600 SPACE\n"
                                                 "610\n" +
                                                 QuitAt(640);

// Two games for a replay that skips every conversation and wins every
// battle (see SkipConversationsAndBattles): SPACE ends each stage clear and
// the end picture of the game started at frame 100, then of the one started
// at frame 1400; then quit.
inline const std::string kTwoQuickGamesThenQuit = kTitleCursorDownAndUp + "100 RETURN\n110\n" +
                                                  SpaceEvery(120, 1300) + "1400 RETURN\n1410\n" +
                                                  SpaceEvery(1420, 2600) + QuitAt(2700);

}  // namespace gametest
