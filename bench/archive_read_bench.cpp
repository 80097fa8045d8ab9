// Reading every file of a data set from a packed and from a stored archive
// (streamed, the way the file layer opens archives) against reading the
// same files from disk through the plain file set; and the archive
// unpacker against zlib's on the same data. Both sides open what they read
// once, before timing, as the file layer keeps an archive open: the timed
// work is finding each file and reading it whole. The summary prints wall
// and CPU time (the process's, as the archive's file has a reader thread)
// with their ratios, and each unpacker's MB/s beside its compression ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/files/archive_reader.h"
#include "lz_compressor.h"
#include "core/files/plain_file.h"
#include "support/summary_reporter.h"
#include "wqa_writer.h"

namespace {

constexpr int kFiles = 48;
constexpr std::size_t kFileSize = 64 * 1024;

// Text that repeats its words, as level and script files do.
std::vector<std::uint8_t> TextLike(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"enemy", "wave", "bullet", "speed", "0x20", "left", "right", "boss",
                                       "score", "stage", "=", ";", "\r\n", "spawn", "120", "angle"};
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size) text += std::string(kWords[random() % 16]) + " ";
  text.resize(size);
  return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

std::string WindowsPath(const std::filesystem::path& path) { return "C:" + path.string(); }

// The data set on disk and as a stored and a packed archive beside it.
class DataSet {
 public:
  DataSet() : folder_(std::filesystem::temp_directory_path() / ("wq-archive-bench-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_ / "files");
    wqa::TreeEntry root;
    root.directory = true;
    for (int i = 0; i < kFiles; ++i) {
      wqa::TreeEntry file;
      file.name = std::string("F").append(std::to_string(i)).append(".DAT");
      file.data = i % 2 == 0 ? TextLike(kFileSize, i) : Noise(kFileSize, i);
      Write(folder_ / "files" / file.name, file.data);
      names_.push_back(file.name);
      root.children.push_back(std::move(file));
    }
    for (bool pack : {false, true}) {
      wqa::WriteOptions options;
      options.key = wqa::KeyForArchive("BenchKey");
      options.pack = pack;
      Write(folder_ / (pack ? "PACKED.WQA" : "STORED.WQA"), wqa::BuildArchiveImage(root, options));
    }
  }
  ~DataSet() { std::filesystem::remove_all(folder_); }

  const std::vector<std::string>& names() const { return names_; }
  std::string DiskPath(const std::string& name) const { return WindowsPath(folder_ / "files" / name); }
  std::string ArchivePath(bool packed) const { return WindowsPath(folder_ / (packed ? "PACKED.WQA" : "STORED.WQA")); }

 private:
  static void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  std::filesystem::path folder_;
  std::vector<std::string> names_;
};

const DataSet& Data() {
  static const DataSet data;
  return data;
}

// The files stay open; each is read whole from its start.
void BM_ReadFromDisk(benchmark::State& state) {
  std::vector<PlainFile*> files;
  for (const std::string& name : Data().names()) {
    files.push_back(PlainFileOpen(Data().DiskPath(name).c_str(), 0, 1, 0));
    if (files.back() == nullptr) {
      state.SkipWithError("a file did not open");
      break;
    }
  }
  std::vector<std::uint8_t> buffer(kFileSize);
  for (auto _ : state) {
    for (PlainFile* file : files) {
      PlainFileSeek(file, 0, 0);
      benchmark::DoNotOptimize(PlainFileRead(buffer.data(), 1, file->size, file));
    }
  }
  for (PlainFile* file : files) {
    if (file != nullptr) PlainFileClose(file);
  }
  state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

// The archive stays open, as the file layer keeps it; each file is looked
// up by name and read whole.
void ReadFromArchive(benchmark::State& state, bool packed) {
  ArchiveState archive{};
  if (OpenArchiveFileStreamed(&archive, Data().ArchivePath(packed).c_str(), "BenchKey") != 0) {
    state.SkipWithError("archive did not open");
    return;
  }
  std::vector<std::uint8_t> buffer(kFileSize);
  for (auto _ : state) {
    for (const std::string& name : Data().names()) {
      const WqaFileRecord* record = FindArchiveFileRecord(name.c_str(), &archive);
      benchmark::DoNotOptimize(LoadArchiveFileData(&archive, record, buffer.data()));
    }
  }
  CloseArchive(&archive);
  state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

void BM_ReadFromStoredArchive(benchmark::State& state) { ReadFromArchive(state, false); }
void BM_ReadFromPackedArchive(benchmark::State& state) { ReadFromArchive(state, true); }

constexpr std::size_t kUnpackSize = 4 << 20;

void BM_UnpackArchiveData(benchmark::State& state) {
  const std::vector<std::uint8_t> data = TextLike(kUnpackSize, 7);
  const std::vector<std::uint8_t> packed = wqa::PackArchiveData(data);
  std::vector<std::uint8_t> out(data.size());
  for (auto _ : state) {
    DWORD size = 0;
    benchmark::DoNotOptimize(UnpackArchiveData(packed.data(), static_cast<DWORD>(packed.size()), out.data(),
                                               static_cast<DWORD>(out.size()), &size));
  }
  state.SetBytesProcessed(state.iterations() * kUnpackSize);
  state.counters["ratio"] = static_cast<double>(packed.size()) / data.size();
}

void BM_ZlibUncompress(benchmark::State& state) {
  const std::vector<std::uint8_t> data = TextLike(kUnpackSize, 7);
  uLongf packedSize = compressBound(data.size());
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, data.data(), data.size(), Z_DEFAULT_COMPRESSION);
  std::vector<std::uint8_t> out(data.size());
  for (auto _ : state) {
    uLongf size = out.size();
    benchmark::DoNotOptimize(uncompress(out.data(), &size, packed.data(), packedSize));
  }
  state.SetBytesProcessed(state.iterations() * kUnpackSize);
  state.counters["ratio"] = static_cast<double>(packedSize) / data.size();
}

// The archive's file is read by a thread of its own while the caller
// waits: CPU time is the whole process's, so that thread's work counts.
void TimeReads(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(BM_ReadFromDisk)->Apply(TimeReads);
BENCHMARK(BM_ReadFromStoredArchive)->Apply(TimeReads);
BENCHMARK(BM_ReadFromPackedArchive)->Apply(TimeReads);
BENCHMARK(BM_UnpackArchiveData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibUncompress)->Unit(benchmark::kMillisecond);

// Each archive read against the disk, then each unpacker against zlib with
// the compression ratio of each format.
void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nReading %d files of %zu KB, ours vs the peer (below 1x is faster):\n", kFiles, kFileSize / 1024);
  const std::string suffix = "/process_time/real_time";
  const std::string disk = "BM_ReadFromDisk" + suffix;
  wqbench::PrintComparison(reporter, "stored archive vs disk", "BM_ReadFromStoredArchive" + suffix, disk);
  wqbench::PrintComparison(reporter, "packed archive vs disk", "BM_ReadFromPackedArchive" + suffix, disk);
  std::printf("Unpacking %zu MB of text:\n", kUnpackSize >> 20);
  wqbench::PrintComparison(reporter, "archive unpacker vs zlib", "BM_UnpackArchiveData", "BM_ZlibUncompress");
  for (const char* name : {"BM_UnpackArchiveData", "BM_ZlibUncompress"}) {
    const double seconds = reporter.SecondsPerIteration(name);
    if (seconds <= 0) continue;
    std::printf("  %-28s %6.0f MB/s, packed to %.1f%% of its size\n", name + 3, kUnpackSize / 1e6 / seconds,
                100 * reporter.Counter(name, "ratio"));
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
