// Sound decoding and streaming against vorbisfile's own read loop.
// 1. A 3-minute Ogg Vorbis file decoded whole through the sound handle path
//    (LoadSoundFromMemory, then the handle deleted) against an ov_read loop
//    over the same image in memory.
// 2. Eight looping stream sounds of that file played for a few seconds of
//    real time while a device mixes them: the CPU time the streaming thread
//    spends keeping them fed, against the CPU time ov_read needs to decode
//    the same amount of sound.
// The Ogg file is made once by sox and oggenc.
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"
#include "platform/control.h"
#include "platform/ole32.h"
#include "sound/sound_system.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kStreams = 8;
constexpr int kStreamSeconds = 3;
constexpr std::uint32_t kMixFrames = 441;  // 10 ms at 44.1 kHz

const std::string& OggImage() {
  static const std::string image = [] {
    const std::string base = "/tmp/wq_sound_stream_bench";
    const std::string command = "sox -n -r 44100 -c 2 -b 16 " + base +
                                ".wav synth 180 sine 220 sine 330 vol 0.4"
                                " && oggenc -Q -q 3 -o " +
                                base + ".ogg " + base + ".wav";
    if (std::system(command.c_str()) != 0) return std::string();
    std::ifstream file(base + ".ogg", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove((base + ".wav").c_str());
    std::remove((base + ".ogg").c_str());
    return bytes;
  }();
  return image;
}

double CpuSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

void SetCpuPerIteration(benchmark::State& state, double start) {
  state.counters["cpu_seconds"] =
      (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start) / static_cast<double>(state.iterations());
}

struct MemoryOgg {
  const std::string* bytes;
  std::size_t at;
};

size_t ReadMemory(void* destination, size_t size, size_t count, void* data) {
  auto* ogg = static_cast<MemoryOgg*>(data);
  const std::size_t bytes = std::min(size * count, ogg->bytes->size() - ogg->at);
  std::memcpy(destination, ogg->bytes->data() + ogg->at, bytes);
  ogg->at += bytes;
  return size == 0 ? 0 : bytes / size;
}

int SeekMemory(void* data, ogg_int64_t offset, int whence) {
  auto* ogg = static_cast<MemoryOgg*>(data);
  const std::int64_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? static_cast<std::int64_t>(ogg->at)
                                                 : static_cast<std::int64_t>(ogg->bytes->size());
  const std::int64_t target = base + offset;
  if (target < 0 || target > static_cast<std::int64_t>(ogg->bytes->size())) return -1;
  ogg->at = static_cast<std::size_t>(target);
  return 0;
}

long TellMemory(void* data) { return static_cast<long>(static_cast<MemoryOgg*>(data)->at); }

bool OpenMemoryOgg(MemoryOgg* source, OggVorbis_File* file) {
  return ov_open_callbacks(source, file, nullptr, 0, {ReadMemory, SeekMemory, nullptr, TellMemory}) == 0;
}

// Decodes the whole image into one block, as a load keeps it.
std::size_t DecodeWholeWithOvRead(const std::string& image) {
  MemoryOgg source{&image, 0};
  OggVorbis_File file;
  if (!OpenMemoryOgg(&source, &file)) return 0;
  std::vector<char> pcm(static_cast<std::size_t>(ov_pcm_total(&file, -1)) * 4);
  std::size_t filled = 0;
  int section = 0;
  while (filled < pcm.size()) {
    const long read =
        ov_read(&file, pcm.data() + filled,
                static_cast<int>(std::min<std::size_t>(4096, pcm.size() - filled)), 0, 2, 1, &section);
    if (read <= 0) break;
    filled += static_cast<std::size_t>(read);
  }
  benchmark::DoNotOptimize(pcm.data());
  ov_clear(&file);
  return filled;
}

// Decodes the next `bytes` of an open stream in 4 KB pieces, starting over
// at its end as a looping stream does.
void DecodeStreamPiece(OggVorbis_File* file, std::size_t bytes) {
  char piece[4096];
  int section = 0;
  while (bytes > 0) {
    const long read =
        ov_read(file, piece, static_cast<int>(std::min<std::size_t>(sizeof piece, bytes)), 0, 2, 1, &section);
    if (read <= 0) {
      ov_raw_seek(file, 0);
      continue;
    }
    benchmark::DoNotOptimize(piece);
    bytes -= static_cast<std::size_t>(read);
  }
}

// The sound subsystem on the manual device, started with the streaming
// thread (two processors), and ended again.
class StartedSound {
 public:
  StartedSound() {
    WqControlSetSoundDevice(WqSoundDevice::kManual);
    SetCharSetClass(1);
    SetLogDisabled(1);
    LoadEarlyRuntimeLibraries();
    CoInitialize(nullptr);
    WindowSystem().logicalProcessors = 2;
    InitializeDirectSound();
  }
  ~StartedSound() {
    TerminateDirectSound();
    CoUninitialize();
    FreeRuntimeLibraries();
  }
};

void BM_LoadSoundOgg(benchmark::State& state) {
  const std::string& image = OggImage();
  if (image.empty()) return state.SkipWithError("sox or oggenc missing");
  StartedSound sound;
  const double start = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
  for (auto _ : state) {
    const int handle = LoadSoundFromMemory(image.data(), static_cast<int>(image.size()), 1, -1);
    if (handle == -1) return state.SkipWithError("the load failed");
    DeleteSoundHandle(handle, 0);
  }
  SetCpuPerIteration(state, start);
}

void BM_OvReadLoop(benchmark::State& state) {
  const std::string& image = OggImage();
  if (image.empty()) return state.SkipWithError("sox or oggenc missing");
  const double start = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeWholeWithOvRead(image));
  SetCpuPerIteration(state, start);
}

// CPU seconds per second of sound each side spends on eight streams.
void BM_StreamingThread(benchmark::State& state) {
  const std::string& image = OggImage();
  if (image.empty()) return state.SkipWithError("sox or oggenc missing");
  StartedSound sound;
  SetSoundCreateMode(2);
  int handles[kStreams];
  for (int& handle : handles) {
    handle = LoadSoundFromMemory(image.data(), static_cast<int>(image.size()), 1, -1);
    PlaySoundHandle(handle, 3, 1);
  }
  std::vector<std::int16_t> mixed(2 * kMixFrames);
  double threadCpu = 0;
  for (auto _ : state) {
    const double processStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double mainStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (int tick = 0; tick < kStreamSeconds * 100; ++tick) {
      WqControlMixSound(mixed.data(), kMixFrames);
      Sleep(10);
    }
    threadCpu += (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart) -
                 (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainStart);
  }
  for (int handle : handles) DeleteSoundHandle(handle, 0);
  SetSoundCreateMode(0);
  const double soundSeconds = static_cast<double>(state.iterations()) * kStreamSeconds;
  state.counters["cpu_per_sound_second"] = threadCpu / soundSeconds;
  state.counters["core_share_percent"] = 100.0 * threadCpu / soundSeconds;
}

void BM_OvReadEightStreams(benchmark::State& state) {
  const std::string& image = OggImage();
  if (image.empty()) return state.SkipWithError("sox or oggenc missing");
  // Opened beforehand, as the stream sounds are opened by their load.
  MemoryOgg sources[kStreams];
  OggVorbis_File files[kStreams];
  for (int stream = 0; stream < kStreams; ++stream) {
    sources[stream] = MemoryOgg{&image, 0};
    if (!OpenMemoryOgg(&sources[stream], &files[stream]))
      return state.SkipWithError("vorbisfile refused the file");
  }
  double cpu = 0;
  for (auto _ : state) {
    const double start = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (OggVorbis_File& file : files) DecodeStreamPiece(&file, std::size_t{44100} * 4 * kStreamSeconds);
    cpu += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - start;
  }
  for (OggVorbis_File& file : files) ov_clear(&file);
  state.counters["cpu_per_sound_second"] = cpu / (static_cast<double>(state.iterations()) * kStreamSeconds);
}

BENCHMARK(BM_LoadSoundOgg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OvReadLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamingThread)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_OvReadEightStreams)->Unit(benchmark::kMillisecond);

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  const double load = reporter.SecondsPerIteration("BM_LoadSoundOgg");
  const double ovRead = reporter.SecondsPerIteration("BM_OvReadLoop");
  if (load > 0 && ovRead > 0) {
    const double loadCpu = reporter.Counter("BM_LoadSoundOgg", "cpu_seconds");
    const double ovReadCpu = reporter.Counter("BM_OvReadLoop", "cpu_seconds");
    std::printf("\n3-minute Ogg Vorbis, decoded whole (wall, CPU):\n");
    std::printf("  LoadSoundFromMemory:  %8.1f ms  %8.1f ms\n", load * 1000, loadCpu * 1000);
    std::printf("  ov_read loop:         %8.1f ms  %8.1f ms\n", ovRead * 1000, ovReadCpu * 1000);
    std::printf("  load / ov_read:       %8.2f     %8.2f\n", load / ovRead,
                ovReadCpu > 0 ? loadCpu / ovReadCpu : 0.0);
  }
  const double thread = reporter.Counter("BM_StreamingThread/iterations:1/real_time", "cpu_per_sound_second");
  const double peer = reporter.Counter("BM_OvReadEightStreams", "cpu_per_sound_second");
  if (thread > 0 && peer > 0) {
    std::printf("\n%d looping streams, CPU seconds per second of sound:\n", kStreams);
    std::printf("  streaming thread:     %8.4f (%.2f%% of a core)\n", thread, thread * 100);
    std::printf("  ov_read alone:        %8.4f (%.2f%% of a core)\n", peer, peer * 100);
    std::printf("  thread / ov_read:     %8.2f\n", thread / peer);
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
