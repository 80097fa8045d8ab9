// Input scripts of the controls (see control_input.h): key states from a
// text file, applied frame by frame as the keyboard is read.
#pragma once

#include "platform/wintypes.h"

namespace wqplat {

// Injects the key changes of every script frame that has come.
void ApplyDueInputScript();

// On the first window the process shows: starts the script that
// WQ_INPUT_SCRIPT names (a path of the Linux file system), as the layer's
// own setting from its environment. A script that cannot be read is
// reported on stderr and nothing is started.
void StartEnvironmentInputScript(HWND window);

}  // namespace wqplat
