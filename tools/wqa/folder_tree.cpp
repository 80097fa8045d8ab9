#include "folder_tree.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "kernel32/text_encoding.h"

namespace wqa {
namespace {

// 100 ns ticks between 1601-01-01 and 1970-01-01.
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;

std::uint64_t FileTimeOf(const std::filesystem::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return 0;
  return kUnixEpochTicks + static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 10000000ull +
         static_cast<std::uint64_t>(status.st_mtim.tv_nsec) / 100;
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot read " + path.string());
  }
  return bytes;
}

void ReadChildren(const std::filesystem::path& folder, TreeEntry& directory) {
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    TreeEntry child;
    child.name = wqplat::Utf8ToCp932(item.path().filename().string());
    child.directory = item.is_directory();
    child.creationTime = child.writeTime = FileTimeOf(item.path());
    if (child.directory) {
      ReadChildren(item.path(), child);
    } else if (item.is_regular_file()) {
      child.data = ReadWholeFile(item.path());
    } else {
      continue;
    }
    directory.children.push_back(std::move(child));
  }
  std::sort(directory.children.begin(), directory.children.end(),
            [](const TreeEntry& a, const TreeEntry& b) { return a.name < b.name; });
}

}  // namespace

TreeEntry ReadFolderTree(const std::filesystem::path& folder) {
  if (!std::filesystem::is_directory(folder)) throw std::runtime_error("not a folder: " + folder.string());
  TreeEntry root;
  root.directory = true;
  try {
    ReadChildren(folder, root);
  } catch (const std::filesystem::filesystem_error& error) {
    throw std::runtime_error(error.what());
  }
  return root;
}

std::filesystem::path DiskPathFor(const std::filesystem::path& folder, const std::vector<std::string>& names) {
  std::filesystem::path path = folder;
  for (const std::string& name : names) {
    const std::string utf8 = wqplat::Cp932ToUtf8(name);
    if (utf8.empty() || utf8 == "." || utf8 == ".." || utf8.find_first_of("/\\") != std::string::npos) {
      throw std::runtime_error("archive holds a name that cannot be extracted: \"" + utf8 + "\"");
    }
    path /= utf8;
  }
  return path;
}

}  // namespace wqa
