// The frame loop: present, pump, clear, read the keys, run one scene step.
#pragma once

// Runs frames until PresentScreen, PumpMessages or ClearDrawTarget reports
// anything but 0.
void RunFrameLoop();

// For tests: a function the loop calls between frames, after the last
// frame has been presented and before the next one reads the keys; null
// (the game's own setting) calls nothing. A test reads or forces the
// game's state there, never in the middle of a frame.
using FrameHook = void (*)();
void SetFrameHook(FrameHook hook);
