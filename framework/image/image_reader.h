// The image readers and the stream helpers they share. A reader returns 0
// when it recognised and decoded the image into the record, -1 otherwise;
// it may leave the stream anywhere and the record half filled when it
// refuses, but never leaves an allocation behind.
#pragma once

#include <cstddef>
#include <cstdint>

#include "WqLib.h"
#include "core/files/stream_functions.h"

using ImageReader = int (*)(StreamSource* source, BaseImage* image);

int ReadBmpImage(StreamSource* source, BaseImage* image);
int ReadJpegImage(StreamSource* source, BaseImage* image);
int ReadPngImage(StreamSource* source, BaseImage* image);
int ReadBgraImage(StreamSource* source, BaseImage* image);
int ReadTgaImage(StreamSource* source, BaseImage* image);
int ReadDdsImage(StreamSource* source, BaseImage* image);

// true when exactly `size` bytes were read.
bool ReadStreamBytes(StreamSource* source, void* destination, std::size_t size);
// The stream's length, the stream left at `position` afterwards; -1 when
// the stream cannot tell.
std::int64_t MeasureStream(StreamSource* source, std::int64_t position);
// Bytes from the current position to the end; the position is kept.
std::int64_t StreamBytesLeft(StreamSource* source);

inline std::uint16_t LoadLe16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
