// assetgen: writes the game's pictures and sounds into a data folder, as
// Pict/... and Sound/... below it. The same program always writes the same
// bytes.
#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "asset_catalogue.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const assetgen::Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Every file and folder gets the same fixed time, so that the archives,
// which keep the times, come out the same bytes from every run too.
void FixTime(const fs::path& path) {
  constexpr time_t kFixedTime = 1735689600;  // 2025-01-01 00:00:00 UTC
  const timespec times[2] = {{kFixedTime, 0}, {kFixedTime, 0}};
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) throw std::runtime_error("cannot set the time of " + path.string());
}

void FixTimes(const fs::path& top) {
  for (const auto& entry : fs::recursive_directory_iterator(top)) FixTime(entry.path());
  FixTime(top);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen DATA_FOLDER\n");
    return 2;
  }
  const fs::path folder = argv[1];
  const std::vector<assetgen::AssetFile> files = assetgen::AssetCatalogue();
  try {
    // The folders hold exactly the catalogue: nothing left from older runs.
    fs::remove_all(folder / "Pict");
    fs::remove_all(folder / "Sound");
    fs::create_directories(folder);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "assetgen: %s\n", error.what());
    return 1;
  }
  // Each file is made on its own, so they are made side by side.
  std::atomic<std::size_t> next{0};
  std::mutex errorsLock;
  std::vector<std::string> errors;
  auto work = [&] {
    for (std::size_t i = next++; i < files.size(); i = next++) {
      const fs::path path = folder / fs::path(files[i].path);
      try {
        WriteFile(path, files[i].make());
      } catch (const std::exception& error) {
        std::lock_guard<std::mutex> lock(errorsLock);
        errors.push_back(path.string() + ": " + error.what());
      }
    }
  };
  std::vector<std::thread> workers;
  const unsigned count = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned i = 0; i < count; ++i) workers.emplace_back(work);
  for (std::thread& worker : workers) worker.join();
  for (const std::string& error : errors) std::fprintf(stderr, "assetgen: %s\n", error.c_str());
  if (!errors.empty()) return 1;
  try {
    FixTimes(folder / "Pict");
    FixTimes(folder / "Sound");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "assetgen: %s\n", error.what());
    return 1;
  }
  return 0;
}
