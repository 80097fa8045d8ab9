#include "archive_listing.h"

#include <cstring>
#include <set>
#include <stdexcept>

namespace wqa {
namespace {

// The path from the archive's root, with its leading separator. (Built by
// appending: a literal prefixed to a temporary string makes GCC 12 warn
// of overlapping copies that cannot happen.)
std::string RootedPath(const std::vector<std::string>& names) {
  std::string path;
  for (const std::string& name : names) path.append("\\").append(name);
  return path;
}

// The same path as the tool shows it, without the leading separator.
std::string ArchivePath(const std::vector<std::string>& names) {
  const std::string rooted = RootedPath(names);
  return rooted.empty() ? rooted : rooted.substr(1);
}

// `entered` holds the directory records walked so far: a folder record
// that leads back into one of them would make the walk endless.
void WalkDirectory(ArchiveState* archive, std::vector<std::string>& names, std::set<DWORD>& entered,
                   const std::function<void(const ArchiveItem&)>& visit) {
  const std::string directory = RootedPath(names) + "\\";
  FileInfo info;
  ArchiveSearch* search = ArchiveFindFirst(archive, (directory + "*").c_str(), &info);
  if (search == nullptr) throw std::runtime_error("cannot list the archive folder " + directory);
  try {
    if (!entered.insert(search->directory).second) {
      throw std::runtime_error("archive tables are damaged: the folder " + directory + " leads back into itself");
    }
    do {
      if (std::strcmp(info.name, ".") == 0 || std::strcmp(info.name, "..") == 0) continue;
      names.emplace_back(info.name);
      const WqaFileRecord* record = nullptr;
      if (!info.directory) {
        const std::string path = RootedPath(names);
        record = FindArchiveFileRecord(path.c_str(), archive);
        if (record == nullptr) throw std::runtime_error("archive tables are damaged at " + ArchivePath(names));
      }
      visit(ArchiveItem{names, info.directory != 0, record});
      if (info.directory) WalkDirectory(archive, names, entered, visit);
      names.pop_back();
    } while (ArchiveFindNext(search, &info) == 0);
  } catch (...) {
    ArchiveFindClose(search);
    throw;
  }
  ArchiveFindClose(search);
}

}  // namespace

void ForEachArchiveItem(ArchiveState* archive, const std::function<void(const ArchiveItem&)>& visit) {
  std::vector<std::string> names;
  std::set<DWORD> entered;
  WalkDirectory(archive, names, entered, visit);
}

std::vector<std::uint8_t> ReadArchiveItem(ArchiveState* archive, const ArchiveItem& item) {
  std::vector<std::uint8_t> data(item.record->size);
  if (LoadArchiveFileData(archive, item.record, data.data()) != 0) {
    throw std::runtime_error("damaged data in the archive at " + ArchivePath(item.names));
  }
  return data;
}

}  // namespace wqa
