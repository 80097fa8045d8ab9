// Internal helpers shared by the user32 sources for delivering messages.
#pragma once

#include <functional>
#include <string>

#include "platform/user32.h"

namespace wqplat {

// Calls the window procedure on the calling thread (which must be the
// window's); 0 for a window that no longer exists.
LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Runs `work` on the window's thread: at once when that is the calling
// thread, otherwise when that thread next reads its queue.
void RunOnWindowThread(HWND window, std::function<void()> work);

// Posts to the window's thread, with typed text for a key-down.
BOOL PostToWindow(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                  std::string typed_text = {});

// Reads the window system's pending events when the calling thread is the
// one that receives them, turning each into messages of its window's
// thread.
void ReadWindowSystemEvents();

// The first window of `thread_id` with an invalid area that the filter
// accepts, or null.
HWND FindWindowNeedingPaint(DWORD thread_id, HWND window_filter);

}  // namespace wqplat
