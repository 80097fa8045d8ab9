// Text-input entry points, standing until text input is built.
#pragma once

#include "platform/windows.h"

int InitTextInput();
int ProcessTextInput();
int DeleteAllTextInputHandles();
// 0, or -1 when the character ring is full.
int PushInputChar(unsigned char byte);
// The control code of an edit key, 0 for other keys.
int FindEditKeyChar(WPARAM virtualKey);
LRESULT HandleImeMessage(UINT message, WPARAM wParam, LPARAM lParam);
// 1 when text input drives the input-method editor itself.
int IsImeInUse();
// Asks text input to switch the input-method editor on again.
void MarkImeReenable();
