// shell32: files dragged onto a window.
#pragma once

#include "platform/wintypes.h"

// Whether the window's thread is told of dropped files (WM_DROPFILES with an
// HDROP in wParam).
void DragAcceptFiles(HWND window, BOOL accept);
// index 0xFFFFFFFF gives the number of files; otherwise copies the name
// (code page 932, at most `size` bytes with the terminator) and returns its
// length, or with a null buffer the length needed without the terminator.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size);
void DragFinish(HDROP drop);
