// Window-state changes shared by the user32 sources: activation, placement
// and invalidation, each sending the messages Windows sends.
#pragma once

#include "platform/user32.h"

namespace wqplat {

// Makes `target` the active (and foreground, and focus) window, or leaves
// no window active for null: WM_ACTIVATE / WM_ACTIVATEAPP / WM_KILLFOCUS to
// the old window and WM_ACTIVATEAPP / WM_ACTIVATE / WM_SETFOCUS to the new,
// each on its window's thread.
void ActivateWindow(HWND target);
HWND ActiveWindow();

// Moves and sizes a window (screen coordinates of the whole window),
// sending WM_MOVE and WM_SIZE for what changed. A change the window system
// reports is only recorded: the on-screen window is already there.
enum class PlacementSource { kProgram, kWindowSystem };
void PlaceWindow(HWND window, const RECT& window_rect,
                 PlacementSource source = PlacementSource::kProgram);
// Brings the on-screen window in line with the record (after a style
// change or a move).
void SyncPresenter(HWND window);

// Marks the whole client area for WM_PAINT.
void InvalidateClientArea(HWND window, bool erase);

}  // namespace wqplat
