// The window system underneath user32: SDL's video subsystem, started on
// first need. Without a display the layer still keeps windows and queues;
// they are simply not shown anywhere.
#pragma once

namespace wqplat {

// Starts SDL video once; false when there is no display to talk to.
bool EnsureWindowSystem();

// The thread that created the first on-screen window reads the window
// system's events for every window; other threads get theirs through
// their queues.
void ClaimEventThread();
bool IsEventThread();

}  // namespace wqplat
