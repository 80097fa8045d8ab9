// MPEG audio frame headers: the fields, sizes and sample counts of a frame.
#pragma once

#include <cstdint>

struct Mp3FrameHeader {
  int mpeg1;  // 1 MPEG-1, 0 MPEG-2
  int layer;  // 1, 2 or 3
  int bitRateIndex;
  int sampleRateIndex;
  int padding;
  int channels;
  int sampleRate;
  int kbitPerSecond;
  int frameBytes;
  int samplesPerFrame;
};

// 0 for a usable header; -2 without the sync bits; -1 for a reserved layer,
// bit rate or sample rate (free format, bit-rate index 0, is refused too).
int ParseMp3FrameHeader(const std::uint8_t header[4], Mp3FrameHeader* frame);
