// Image and font entry points the core calls, standing until the images and
// text subsystem is built.
#pragma once

int EndSoftImages();
int EnableMaskScreen(int flag);
int IsMaskScreenEnabled();
int CreateFontToHandle(const char* face, int size, int thickness, int fontType, int charSet, int edgeSize,
                       int italic);
int DeleteFont(int handle);
int SetFontLostFlag(int handle, int* lostFlag);
