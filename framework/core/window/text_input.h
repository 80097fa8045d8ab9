// Text input: the ring of typed characters the window procedure fills,
// text-input handles with their edit buffers, and the input-method
// editor's messages. All on the framework's thread.
#pragma once

#include <cstdint>

#include "platform/windows.h"

// Start-up and shutdown.
int InitTextInput();
int DeleteAllTextInputHandles();

// ---- The input-character ring ----
// 0, or -1 when the ring is full (it holds at most 1,024 bytes).
int PushInputChar(unsigned char byte);
// Pushes the text's characters, each whole: 0, or -1 when the ring filled
// before the end (a double-byte character that does not fit is left out,
// never its lead byte alone, which would hold up the ring for good).
int PushInputText(const char* text, int length);
// One typed byte as the window's character messages bring it: a double-byte
// character's two bytes come in two messages and enter the ring together.
void PushTypedByte(unsigned char byte);
// Bytes delivered into `out` (0 empty, 1, or 2 for a double-byte character
// whose second byte has arrived); take 0 leaves the ring as it was.
int TakeInputChar(unsigned char out[2], int take);
// 1 for the control codes that edit keys push.
int IsEditControlChar(unsigned char byte);
// The control code of an edit key's virtual key, 0 for other keys.
int FindEditKeyChar(WPARAM virtualKey);

// ---- Handles ----
// A handle with an empty edit buffer for at most `maxLength` bytes; -1 when
// no slot or memory is left. Flags: Escape cancels the input, only
// single-byte characters, only the digits 0 to 9.
int MakeTextInputHandle(int maxLength, int escapeCancels, int singleByteOnly, int digitsOnly);
// The handle that ProcessTextInput edits (-1 for none). 0, or -1 for an
// invalid handle.
int SetActiveTextInputHandle(int handle);
int DeleteTextInputHandle(int handle);

// Feeds the queued characters into the active handle, once per frame. 0,
// or -1 when the active handle is invalid.
int ProcessTextInput();
void ResetInputCursorBlink();

// ---- The input-method editor ----
// WM_IME_* messages of the main window: 0 or the default procedure's result.
LRESULT HandleImeMessage(UINT message, WPARAM wParam, LPARAM lParam);
// Enables or disables the main window's input method; disabling drops the
// candidate list and the composition. Returns 0.
int SetImeEnabled(int enabled);
// 1 once text input has handled an input-method message.
int IsImeInUse();
// Asks the next ProcessTextInput to close and reopen the input method,
// keeping its composition (after the window was activated again).
void MarkImeReenable();
