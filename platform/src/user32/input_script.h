// Input scripts of the controls (see control_input.h): key states from a
// text file, applied frame by frame as the keyboard is read.
#pragma once

namespace wqplat {

// Injects the key changes of every script frame that has come.
void ApplyDueInputScript();

}  // namespace wqplat
