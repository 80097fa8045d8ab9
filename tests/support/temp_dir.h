// A fresh directory under /tmp for one test, removed with everything in it
// when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace wqtest {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The directory as a Windows path on drive C:, with backslashes.
  std::string WindowsPath() const;
  // Writes a file (creating its folders) relative to the directory.
  void WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string ReadFile(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

}  // namespace wqtest
