// Playing a 640 x 480 Theora movie frame by frame into 32-bit RGB: the
// movie player (its decoding thread stocks frames ahead, the main thread
// moves the current frame and converts it by tables) beside libtheora's
// own decoder on the same file with a plain per-pixel YUV-to-RGB loop,
// one frame per iteration on both sides, wrapping at the end. The movie
// is made by ffmpeg when the benchmark starts.
#include <benchmark/benchmark.h>
#include <ogg/ogg.h>
#include <theora/theora.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/files/file_access_table.h"
#include "media/theora_context.h"
#include "support/summary_reporter.h"

namespace {

const std::string& MoviePath() {
  static const std::string path = [] {
    std::string file = "/tmp/wq_theora_bench_640x480.ogv";
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=s=640x480:r=30:d=4 -pix_fmt yuv420p "
        "-c:v libtheora -q:v 7 -g 60 -f ogg " + file;
    if (std::system(command.c_str()) != 0) file.clear();
    return file;
  }();
  return path;
}

void BM_MoviePlayer(benchmark::State& state) {
  BuildYuvToRgbTables();
  const FileAccessTable* files = GetPlainFileSet();
  const FileHandle file = files->open(("C:" + MoviePath()).c_str(), 0, 1, 0);
  TheoraContext* context = file != 0 ? OpenTheoraMovie(files, file, 10) : nullptr;
  if (context == nullptr) {
    state.SkipWithError("the movie could not be made or opened");
    if (file != 0) files->close(file);
    return;
  }
  for (auto _ : state) {
    AdvanceTheoraMovie(context, 1);
    benchmark::DoNotOptimize(ConvertTheoraFrame(context, 1, 0));
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  CloseTheoraMovie(context);
  files->close(file);
}

// libtheora's decoder over the file in memory, restarting at the end.
class PlainDecoder {
 public:
  explicit PlainDecoder(std::vector<char> bytes) : bytes_(std::move(bytes)) {}
  ~PlainDecoder() { Clear(); }
  bool Start() {
    Clear();
    ogg_sync_init(&sync_);
    theora_info_init(&info_);
    theora_comment_init(&comment_);
    position_ = 0;
    started_ = true;
    int headers = 0;
    while (headers < 3) {
      if (!NextPacket()) return false;
      if (theora_decode_header(&info_, &comment_, &packet_) != 0) return false;
      ++headers;
    }
    return theora_decode_init(&decoder_, &info_) == 0;
  }
  // Decodes the next frame; false at the end of the file.
  bool Decode(yuv_buffer* picture) {
    if (!NextPacket()) return false;
    theora_decode_packetin(&decoder_, &packet_);
    return theora_decode_YUVout(&decoder_, picture) == 0;
  }

 private:
  bool NextPacket() {
    for (;;) {
      if (streamReady_ && ogg_stream_packetout(&stream_, &packet_) > 0) return true;
      if (ogg_sync_pageout(&sync_, &page_) > 0) {
        if (!streamReady_) {
          ogg_stream_init(&stream_, ogg_page_serialno(&page_));
          streamReady_ = true;
        }
        ogg_stream_pagein(&stream_, &page_);
        continue;
      }
      if (position_ >= bytes_.size()) return false;
      const std::size_t piece = std::min<std::size_t>(4096, bytes_.size() - position_);
      std::copy_n(bytes_.data() + position_, piece, ogg_sync_buffer(&sync_, static_cast<long>(piece)));
      ogg_sync_wrote(&sync_, static_cast<long>(piece));
      position_ += piece;
    }
  }
  void Clear() {
    if (!started_) return;
    if (streamReady_) ogg_stream_clear(&stream_);
    theora_clear(&decoder_);
    theora_comment_clear(&comment_);
    theora_info_clear(&info_);
    ogg_sync_clear(&sync_);
    streamReady_ = false;
    started_ = false;
  }

  std::vector<char> bytes_;
  std::size_t position_ = 0;
  bool started_ = false;
  bool streamReady_ = false;
  ogg_sync_state sync_{};
  ogg_stream_state stream_{};
  ogg_page page_{};
  ogg_packet packet_{};
  theora_info info_{};
  theora_comment comment_{};
  theora_state decoder_{};
};

std::uint8_t Clamp(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// The textbook per-pixel conversion, in 8 fraction bits.
void ConvertPlain(const yuv_buffer& p, std::vector<std::uint8_t>& rgb) {
  for (int row = 0; row < p.y_height; ++row) {
    const std::uint8_t* y = p.y + static_cast<std::ptrdiff_t>(row) * p.y_stride;
    const std::uint8_t* u = p.u + static_cast<std::ptrdiff_t>(row / 2) * p.uv_stride;
    const std::uint8_t* v = p.v + static_cast<std::ptrdiff_t>(row / 2) * p.uv_stride;
    std::uint8_t* out = rgb.data() + static_cast<std::size_t>(row) * p.y_width * 4;
    for (int column = 0; column < p.y_width; ++column, out += 4) {
      const int c = 298 * (y[column] - 16), d = u[column / 2] - 128, e = v[column / 2] - 128;
      out[0] = Clamp((c + 516 * d + 128) >> 8);
      out[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
      out[2] = Clamp((c + 409 * e + 128) >> 8);
      out[3] = 255;
    }
  }
}

void BM_LibtheoraAndPlainLoop(benchmark::State& state) {
  std::ifstream in(MoviePath(), std::ios::binary);
  PlainDecoder decoder(std::vector<char>(std::istreambuf_iterator<char>(in), {}));
  if (MoviePath().empty() || !decoder.Start()) {
    state.SkipWithError("the movie could not be made or decoded");
    return;
  }
  std::vector<std::uint8_t> rgb(640 * 480 * 4);
  yuv_buffer picture{};
  for (auto _ : state) {
    if (!decoder.Decode(&picture)) {
      decoder.Start();
      decoder.Decode(&picture);
    }
    ConvertPlain(picture, rgb);
    benchmark::DoNotOptimize(rgb.data());
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_MoviePlayer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibtheoraAndPlainLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  wqbench::PrintComparison(reporter, "640 x 480 frame decoded and converted to RGB", "BM_MoviePlayer/real_time",
                           "BM_LibtheoraAndPlainLoop/real_time");
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
