// Ogg Vorbis through libvorbisenc, written to memory.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

#include "encoders.h"

namespace assetgen {
namespace {

constexpr int kSerialNumber = 0x57514147;  // fixed, so the bytes repeat
constexpr int kBlockFrames = 4096;

void AppendPage(Bytes& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes EncodeOgg(const SoundBuffer& sound, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, sound.channels, sound.rate, quality) != 0) {
    vorbis_info_clear(&info);
    throw std::runtime_error("libvorbisenc refused the sound's format");
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kSerialNumber);

  Bytes out;
  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

  const std::size_t frames = sound.Frames();
  std::size_t done = 0;
  bool ended = false;
  while (!ended) {
    const int count = static_cast<int>(std::min<std::size_t>(kBlockFrames, frames - done));
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);  // end of stream
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, count);
      for (int i = 0; i < count; ++i) {
        for (int c = 0; c < sound.channels; ++c) buffer[c][i] = sound.samples[(done + i) * sound.channels + c];
      }
      vorbis_analysis_wrote(&dsp, count);
      done += count;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          AppendPage(out, page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace assetgen
