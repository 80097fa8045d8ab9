// assetgen: writes the game's pictures and sounds into a data folder, as
// Pict/... and Sound/... below it. The same program always writes the same
// bytes.
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
  return errors.empty() ? 0 : 1;
}
