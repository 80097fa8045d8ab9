#include "wqa_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <set>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "lz_compressor.h"

namespace wqa {
namespace {

constexpr std::uint32_t kCodePage = 932;

template <typename Record>
void AppendBytes(std::vector<std::uint8_t>& out, const Record& record, std::size_t size = sizeof(Record)) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
  out.insert(out.end(), bytes, bytes + size);
}

FILETIME ToFileTime(std::uint64_t ticks) {
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

DWORD CheckedOffset(std::size_t offset) {
  if (offset > 0xFFFFFFFFu) throw std::runtime_error("archive too large: the format holds 4 GB at most");
  return static_cast<DWORD>(offset);
}

class ImageBuilder {
 public:
  explicit ImageBuilder(const WriteOptions& options)
      : options_(options),
        charSetClass_(options.version >= 4 ? WqaCharSetClassFromCodePage(kCodePage) : 0),
        recordSize_(WqaFileRecordSize(options.version)) {}

  std::vector<std::uint8_t> Build(const TreeEntry& root) {
    std::deque<std::pair<const TreeEntry*, std::size_t>> pending{{&root, AddDirectory(WQA_NO_PARENT, WQA_NO_PARENT)}};
    while (!pending.empty()) {
      auto [directory, index] = pending.front();
      pending.pop_front();
      directories_[index].fileCount = CheckedOffset(directory->children.size());
      directories_[index].firstFileOffset = CheckedOffset(files_.size());
      std::set<std::string> keys;
      for (const TreeEntry& child : directory->children) {
        if (!keys.insert(AddName(child.name)).second) {
          throw std::runtime_error("two names differ only in letter case: " + child.name);
        }
        if (child.directory) {
          const std::size_t childIndex = AddDirectory(CheckedOffset(files_.size()), CheckedOffset(index * sizeof(WqaDirectoryRecord)));
          AddRecord(child, CheckedOffset(childIndex * sizeof(WqaDirectoryRecord)), 0, WQA_STORED);
          pending.emplace_back(&child, childIndex);
        } else {
          AddFile(child);
        }
      }
    }
    return Finish();
  }

 private:
  std::size_t AddDirectory(DWORD ownRecordOffset, DWORD parentOffset) {
    directories_.push_back(WqaDirectoryRecord{ownRecordOffset, parentOffset, 0, 0});
    return directories_.size() - 1;
  }

  // Appends the name entry; returns its search key bytes, which must be
  // unique within a directory.
  std::string AddName(const std::string& name) {
    WqaSearchKey key;
    const int length = MakeWqaSearchKey(name.c_str(), charSetClass_, &key);
    if (name.empty() || name == "." || name == ".." || length < 0 || static_cast<std::size_t>(length) != name.size()) {
      throw std::runtime_error("name cannot be stored in an archive: \"" + name + "\"");
    }
    lastNameOffset_ = CheckedOffset(names_.size());
    AppendBytes(names_, WqaNameEntry{key.wordCount, key.byteSum});
    names_.insert(names_.end(), key.name, key.name + key.wordCount * 4);
    names_.insert(names_.end(), name.begin(), name.end());
    names_.push_back(0);
    return std::string(reinterpret_cast<const char*>(key.name), key.wordCount * 4);
  }

  void AddRecord(const TreeEntry& entry, DWORD dataOffset, DWORD size, DWORD packedSize) {
    WqaFileRecord record{};
    record.nameOffset = lastNameOffset_;
    record.attributes = entry.directory ? WQA_ATTRIBUTE_DIRECTORY : 0;
    record.creationTime = ToFileTime(entry.creationTime);
    record.accessTime = ToFileTime(entry.writeTime);
    record.writeTime = ToFileTime(entry.writeTime);
    record.dataOffset = dataOffset;
    record.size = size;
    record.packedSize = packedSize;
    AppendBytes(files_, record, recordSize_);
  }

  void AddFile(const TreeEntry& file) {
    const DWORD size = CheckedOffset(file.data.size());
    const DWORD offset = CheckedOffset(data_.size());
    if (options_.pack && options_.version >= 2) {
      std::vector<std::uint8_t> packed = PackArchiveData(file.data);
      if (packed.size() < file.data.size()) {
        data_.insert(data_.end(), packed.begin(), packed.end());
        AddRecord(file, offset, size, CheckedOffset(packed.size()));
        return;
      }
    }
    data_.insert(data_.end(), file.data.begin(), file.data.end());
    AddRecord(file, offset, size, WQA_STORED);
  }

  std::vector<std::uint8_t> Finish() {
    const DWORD headerSize = WqaHeaderSize(options_.version);
    WqaHeader header{};
    header.magic = WQA_MAGIC;
    header.version = static_cast<WORD>(options_.version);
    header.fileTableOffset = CheckedOffset(names_.size());
    header.directoryTableOffset = CheckedOffset(names_.size() + files_.size());
    header.tableBlockSize = CheckedOffset(names_.size() + files_.size() + directories_.size() * sizeof(WqaDirectoryRecord));
    header.dataAreaOffset = headerSize;
    header.tableBlockOffset = CheckedOffset(headerSize + data_.size());
    header.codePage = options_.version >= 4 ? kCodePage : 0;
    CheckedOffset(std::size_t{header.tableBlockOffset} + header.tableBlockSize);

    std::vector<std::uint8_t> image;
    image.reserve(header.tableBlockOffset + header.tableBlockSize);
    AppendBytes(image, header, headerSize);
    image.insert(image.end(), data_.begin(), data_.end());
    image.insert(image.end(), names_.begin(), names_.end());
    image.insert(image.end(), files_.begin(), files_.end());
    for (const WqaDirectoryRecord& directory : directories_) AppendBytes(image, directory);
    ApplyArchiveKey(static_cast<DWORD>(image.size()), image.data(), 0, options_.key.data());
    return image;
  }

  const WriteOptions& options_;
  const DWORD charSetClass_;
  const DWORD recordSize_;
  std::vector<std::uint8_t> names_;
  std::vector<std::uint8_t> files_;
  std::vector<WqaDirectoryRecord> directories_;
  std::vector<std::uint8_t> data_;
  DWORD lastNameOffset_ = 0;
};

}  // namespace

ArchiveKey KeyForArchive(const std::string& keyString) {
  ArchiveKey key;
  if (keyString.empty()) {
    MakeFallbackArchiveKey(key.data());
  } else {
    MakeArchiveKey(keyString.c_str(), key.data());
  }
  return key;
}

std::vector<std::uint8_t> BuildArchiveImage(const TreeEntry& root, const WriteOptions& options) {
  if (options.version != 1 && options.version != 3 && options.version != 4) {
    throw std::runtime_error("archive version must be 1, 3 or 4");
  }
  return ImageBuilder(options).Build(root);
}

void WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  std::string temporary = target.string() + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) throw std::runtime_error("cannot create a temporary file beside " + target.string() + ": " + std::strerror(errno));
  // mkstemp makes the file private; an archive is an ordinary data file.
  fchmod(fd, 0644);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  // A write that stops short fails even when it left errno at 0 (a zero-byte
  // write), so a truncated archive never replaces the old one.
  const bool complete = written == bytes.size();
  const int writeError = complete ? 0 : (errno != 0 ? errno : EIO);
  const bool synced = complete && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!complete || !synced || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
    const std::string reason = std::strerror(writeError != 0 ? writeError : errno);
    std::remove(temporary.c_str());
    throw std::runtime_error("cannot write " + target.string() + ": " + reason);
  }
}

}  // namespace wqa
