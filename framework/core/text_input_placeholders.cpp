#include "text_input_placeholders.h"

int InitTextInput() { return 0; }
int ProcessTextInput() { return 0; }
int DeleteAllTextInputHandles() { return 0; }
int PushInputChar(unsigned char) { return 0; }
int FindEditKeyChar(WPARAM) { return 0; }
LRESULT HandleImeMessage(UINT, WPARAM, LPARAM) { return 0; }
int IsImeInUse() { return 0; }
void MarkImeReenable() {}
