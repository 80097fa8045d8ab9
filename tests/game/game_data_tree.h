// A folder to run the game in: the build's game data reached through
// symbolic links (plain folders or the two archives), where the game writes
// its log, and where a test may remove a file or cut one short without
// touching the build's data.
#pragma once

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace gametest {

enum class DataSource { kPlainFiles, kArchives };

class GameDataTree {
 public:
  explicit GameDataTree(DataSource source);

  const std::filesystem::path& path() const { return folder_.path(); }
  // `relative` is the file's path as the game names it (UTF-8 on disk).
  void Remove(const std::string& relative) const;
  // Replaces the file by a copy of its first `bytes` bytes.
  void CutShort(const std::string& relative, std::uintmax_t bytes) const;
  // The framework's log of the last run, as written (Shift-JIS).
  std::string ReadLog() const { return folder_.ReadFile("Log.txt"); }

 private:
  wqtest::TempDir folder_;
};

// The bytes of a narrow literal of the tests (Shift-JIS, as the game's) as a
// UTF-8 path on disk.
std::string PathOnDisk(const char* shiftJisPath);

}  // namespace gametest
