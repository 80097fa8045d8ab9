// Media files for the FFmpeg filter tests, made at test time by the
// ffmpeg tool in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wqtest {

class MediaFolder {
 public:
  MediaFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quartz-media-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~MediaFolder() { std::filesystem::remove_all(path_); }

  // Runs ffmpeg with `arguments` (its output file named last, inside the
  // folder); the file's path, or empty when ffmpeg failed.
  std::string Make(const std::string& arguments, const std::string& name) const {
    const std::string file = (path_ / name).string();
    const std::string command = "ffmpeg -nostdin -v error -y " + arguments + " '" + file + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return file;
  }
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    const std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

inline std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The path as a Windows program gives it: drive C: is the root.
inline std::u16string WindowsPath(const std::string& linux_path) {
  std::u16string path = u"C:";
  for (char c : linux_path) path += static_cast<char16_t>(c == '/' ? '\\' : c);
  return path;
}

}  // namespace wqtest
