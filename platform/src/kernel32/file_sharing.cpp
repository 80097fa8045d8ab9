#include "kernel32/file_sharing.h"

#include <map>
#include <mutex>
#include <vector>

#include "platform/kernel32_file.h"

namespace wqplat {
namespace {

constexpr DWORD kShareBits = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct Holder {
  std::uint64_t id;
  DWORD access;
  DWORD share;
};

struct ShareTable {
  std::mutex mutex;
  std::map<FileIdentity, std::vector<Holder>> holders;
  std::uint64_t next_id = 1;
};

ShareTable& Table() {
  static ShareTable* table = new ShareTable;  // outlives static destructors
  return *table;
}

bool Clashes(const Holder& held, DWORD access, DWORD share) {
  return (access & ~held.share & kShareBits) != 0 || (held.access & ~share & kShareBits) != 0;
}

}  // namespace

DWORD ShareAccessFromDesired(DWORD desired_access) {
  DWORD access = 0;
  if (desired_access & GENERIC_READ) access |= FILE_SHARE_READ;
  if (desired_access & GENERIC_WRITE) access |= FILE_SHARE_WRITE;
  return access;
}

std::optional<ShareLease> ShareLease::Acquire(FileIdentity file, DWORD access, DWORD share) {
  ShareTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::uint64_t id = table.next_id++;
  // An open without data access (attributes only) neither clashes nor restricts.
  if ((access & kShareBits) == 0) return ShareLease(file, id);
  std::vector<Holder>& holders = table.holders[file];
  for (const Holder& held : holders) {
    if (Clashes(held, access, share)) return std::nullopt;
  }
  holders.push_back({id, access, share});
  return ShareLease(file, id);
}

ShareLease::ShareLease(ShareLease&& other) noexcept : file_(other.file_), id_(other.id_) { other.id_ = 0; }

ShareLease::~ShareLease() {
  if (id_ == 0) return;
  ShareTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.holders.find(file_);
  if (found == table.holders.end()) return;
  std::erase_if(found->second, [this](const Holder& held) { return held.id == id_; });
  if (found->second.empty()) table.holders.erase(found);
}

}  // namespace wqplat
