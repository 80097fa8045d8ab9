// Input scripts of the replay tests. Frames are 1/60 s of the virtual clock
// from the moment the window is shown (the title comes up about half a
// second later, after the screen is set up); every key is held for ten of
// them, so that the game's once-a-frame keyboard read surely sees it.
#pragma once

#include <string>

namespace gametest {

// The title's cursor goes down to quit and back up, the game starts and
// (while the scene routines are placeholders) runs through every stage to
// the end picture, where a key brings back the title.
inline const std::string kOneGameToTheTitle =
    "60 DOWN\n"
    "70\n"
    "80 UP\n"
    "90\n"
    "100 RETURN\n"
    "110\n"
    "600 SPACE\n"
    "610\n";

// One game, then quit.
inline const std::string kOneGameThenQuit = kOneGameToTheTitle +
                                            "640 DOWN\n"
                                            "650\n"
                                            "660 RETURN\n"
                                            "670\n";

// A second game the same way, then quit.
inline const std::string kTwoGamesThenQuit = kOneGameToTheTitle +
                                             "640 RETURN\n"
                                             "650\n"
                                             "1200 SPACE\n"
                                             "1210\n"
                                             "1240 DOWN\n"
                                             "1250\n"
                                             "1260 RETURN\n"
                                             "1270\n";

}  // namespace gametest
