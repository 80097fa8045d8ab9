#include "image/image_placeholders.h"

int EndSoftImages() { return 0; }
int EnableMaskScreen(int) { return -1; }
int IsMaskScreenEnabled() { return 0; }
int CreateFontToHandle(const char*, int, int, int, int, int, int) { return -1; }
int DeleteFont(int) { return 0; }
int SetFontLostFlag(int, int*) { return 0; }
