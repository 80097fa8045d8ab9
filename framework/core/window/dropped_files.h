// Names of files dropped on the main window, each in a tracked allocation.
#pragma once

#include "platform/windows.h"

inline constexpr int kMaxDroppedFiles = 1000;

// Stores the names of a WM_DROPFILES drop (up to 1000 in all) and finishes it.
void StoreDroppedFiles(HDROP drop);
// Frees every stored name and empties the list; returns 0.
int FreeDroppedFileNames();
