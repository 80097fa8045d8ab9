// MPEG audio frame headers.
#include "sound/mp3_frame_header.h"

namespace {

// kbit/s by bit-rate index 1 to 14.
constexpr int kMpeg1Layer1[14] = {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr int kMpeg1Layer2[14] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr int kMpeg1Layer3[14] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg2Layer1[14] = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr int kMpeg2Layer23[14] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};
constexpr int kMpeg2Rates[3] = {22050, 24000, 16000};

const int* BitRateTable(int mpeg1, int layer) {
  if (mpeg1) return layer == 1 ? kMpeg1Layer1 : layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3;
  return layer == 1 ? kMpeg2Layer1 : kMpeg2Layer23;
}

}  // namespace

int ParseMp3FrameHeader(const std::uint8_t header[4], Mp3FrameHeader* frame) {
  if (header[0] != 0xFF || (header[1] & 0xF0) != 0xF0) return -2;
  frame->mpeg1 = (header[1] >> 3) & 1;
  const int layerBits = (header[1] >> 1) & 3;
  if (layerBits == 0) return -1;
  frame->layer = 4 - layerBits;
  frame->bitRateIndex = header[2] >> 4;
  if (frame->bitRateIndex == 15 || frame->bitRateIndex == 0) return -1;
  frame->sampleRateIndex = (header[2] >> 2) & 3;
  if (frame->sampleRateIndex == 3) return -1;
  frame->padding = (header[2] >> 1) & 1;
  frame->channels = (header[3] >> 6) == 3 ? 1 : 2;
  frame->sampleRate = (frame->mpeg1 ? kMpeg1Rates : kMpeg2Rates)[frame->sampleRateIndex];
  frame->kbitPerSecond = BitRateTable(frame->mpeg1, frame->layer)[frame->bitRateIndex - 1];
  if (frame->layer == 1) {
    frame->frameBytes = (12000 * frame->kbitPerSecond / frame->sampleRate + frame->padding) * 4;
    frame->samplesPerFrame = 384;
  } else if (frame->mpeg1 || frame->layer == 2) {
    frame->frameBytes = 144000 * frame->kbitPerSecond / frame->sampleRate + frame->padding;
    frame->samplesPerFrame = 1152;
  } else {
    frame->frameBytes = 72000 * frame->kbitPerSecond / frame->sampleRate + frame->padding;
    frame->samplesPerFrame = 576;
  }
  return 0;
}
