// The decoding loop of the layer's FFmpeg filters: packets of one stream
// in, decoded frames out, the decoder drained at the end of the input.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace wqplat {

// A decoder opened for the stream, or null.
inline AVCodecContext* OpenStreamDecoder(const AVStream& stream) {
  const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
  AVCodecContext* decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
  if (decoder && (avcodec_parameters_to_context(decoder, stream.codecpar) < 0 ||
                  avcodec_open2(decoder, codec, nullptr) < 0)) {
    avcodec_free_context(&decoder);
  }
  return decoder;
}

// Hands each decoded frame to `on_frame` (which returns false to end the
// loop) until the input is used up or `stopping()` turns true. True when
// every frame of the input went through.
template <class Stopping, class OnFrame>
bool DecodeStream(AVFormatContext* format, AVCodecContext* decoder, int stream_index, Stopping stopping,
                  OnFrame on_frame) {
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool going = true;
  bool draining = false;
  bool ended = false;
  while (going && !stopping()) {
    if (!draining) {
      if (av_read_frame(format, packet) < 0) {
        draining = true;
        avcodec_send_packet(decoder, nullptr);
      } else {
        if (packet->stream_index == stream_index) avcodec_send_packet(decoder, packet);
        av_packet_unref(packet);
      }
    }
    int received = 0;
    while (going && !stopping() && (received = avcodec_receive_frame(decoder, frame)) == 0) {
      going = on_frame(*frame);
      av_frame_unref(frame);
    }
    if (draining && received == AVERROR_EOF) {
      ended = true;
      break;
    }
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  return ended;
}

}  // namespace wqplat
