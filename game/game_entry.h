// The program's entry point, as the runtime start-up calls it.
#pragma once

#include <platform/wintypes.h>

// Starts the framework, loads the title and the sounds, runs the frame loop
// and ends the framework. 0, or 1 when the framework could not start (the
// framework's log says why).
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
