// The per-frame message processing, the wait while the window is inactive
// and the window side of shutdown.
#pragma once

// Dispatches at most 5 queued messages while the window is active, blocks
// while it is inactive, then runs the per-frame work. 0, or -1 once the
// quit flag is set.
int ProcessWindowMessages();
// Returns when the window is active again or the program quits.
int WaitWhileInactive();
// Closes and destroys the framework window and unregisters its class.
int EndMainWindow();
