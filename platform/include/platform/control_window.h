// Controls of the window module, for tests and tools (part of control.h).
// Input is injected as the window system would deliver it: the same events
// take the same path into window messages, on the window's own thread. Any
// thread may call these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wintypes.h"

// A key of the US layout, named by its virtual key, goes down or up; a
// printable key going down also types its character (Shift applies).
void WqControlInjectKey(HWND window, BYTE virtual_key, bool down);
// Text (UTF-8) typed without a key, as an input method delivers it.
void WqControlInjectText(HWND window, const char* text_utf8);
// The mouse's state in one frame: its position in client coordinates, the
// buttons held (MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_XBUTTON1) and the wheel steps
// turned since the last frame (positive away from the user). Only changes
// against the previous injected state produce events.
void WqControlInjectMouse(HWND window, int x, int y, unsigned buttons, int wheel_steps);
// The user drops files (Linux paths, UTF-8) on the window.
void WqControlDropFiles(HWND window, const std::vector<std::string>& linux_paths);
// The user closes the window (the window manager's close button).
void WqControlCloseWindow(HWND window);
// The window system moves the keyboard focus away from the window, or back.
void WqControlSetWindowFocus(HWND window, bool focused);

// Whether windows follow the window system's own focus changes (on by
// default; WQ_WINDOW_SYSTEM_FOCUS=0 in the environment turns it off at
// start). Test processes that share one display would otherwise take the
// focus from each other's windows; with it off, focus changes only through
// the program's calls and WqControlSetWindowFocus.
void WqControlFollowWindowSystemFocus(bool follow);

// Whether CF_TEXT goes to the window system's clipboard (on by default;
// WQ_WINDOW_SYSTEM_CLIPBOARD=0 turns it off at start) or stays inside this
// process. The display's clipboard is one for all test processes sharing it.
void WqControlShareClipboardWithWindowSystem(bool share);

// The client area's pixels as last presented (0x00RRGGBB, rows top-down);
// false for a window that is not on a display. Without a control call, the
// environment variables WQ_CAPTURE_FRAMES (presented frame numbers over
// every window of the process, counted from 1: "1,60,300") and
// WQ_CAPTURE_DIR (a folder) write those frames as frame_000060.png.
bool WqControlReadWindowPixels(HWND window, std::vector<std::uint32_t>* pixels, int* width,
                               int* height);
// The frames presented so far, in WQ_CAPTURE_FRAMES's numbering: a program
// that plays a script can tell which frame number a screen it shows gets.
std::uint64_t WqControlPresentedFrameCount();

// The folder where windows leave their marks for FindWindowA in other
// processes (the second-instance check). Parallel test runs each set their
// own. Null goes back to $WQ_LOCK_DIR, or a folder under /tmp per user.
void WqControlSetLockFolder(const char* folder);
