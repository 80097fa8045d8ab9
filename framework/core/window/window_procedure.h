// The window procedure of the framework's window class: turns window
// messages into framework state.
#pragma once

#include "platform/windows.h"

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the close request and posts WM_CLOSE, once.
void RequestWindowClose();
// Activation and deactivation (WM_ACTIVATE, WM_ACTIVATEAPP with 0).
LRESULT HandleActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
