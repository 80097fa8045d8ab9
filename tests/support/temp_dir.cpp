#include "support/temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace wqtest {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "wqtest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WindowsPath() const {
  std::string windows = "C:" + path_.string();
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

void TempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::ReadFile(const std::string& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace wqtest
