// The image loading front: a file or memory block is opened as a stream and
// offered to the image readers in turn (readers added by the program
// first, then BMP, JPEG, PNG, BGRA, TGA, DDS).
#pragma once

#include "WqLib.h"
#include "image/image_reader.h"
#include "platform/gdi32.h"

// 0 when a reader took the stream, -1 when none did.
int ReadImageStream(StreamSource* source, BaseImage* image);

// Adds a reader tried before the built-in ones; 0, or -1 when all ten
// slots are taken.
int AddUserImageReader(ImageReader reader);

// Opens, reads and closes; with toDib the image is handed over as a DIB
// (a BITMAPINFO block the caller frees, and its bits) instead of `image`.
int LoadImageCore(const char* fileName, const void* memoryData, int memorySize, int fromMemory, int toDib, int mirror,
                  BaseImage* image, BITMAPINFO** info, void** bits);

// A top-down DIB of an image: 8-bit images keep their palette (unless
// force24), every other becomes 24-bit. -1, 1 (a new bit block), or
// copyFlag (the bits are the image's own pixels).
int BaseImageToDib(BaseImage* image, BITMAPINFO* info, void** bits, int copyFlag, int force24);
