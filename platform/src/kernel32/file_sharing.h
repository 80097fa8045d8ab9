// Share modes between the opens of one file within this process: an open
// asks for read, write or delete access and says which of them it lets
// later opens have; a request that clashes with an existing open fails.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

#include "platform/wintypes.h"

namespace wqplat {

// Accesses use the FILE_SHARE_* bit of the same kind: read, write, delete.
DWORD ShareAccessFromDesired(DWORD desired_access);

struct FileIdentity {
  dev_t device;
  ino_t inode;
  auto operator<=>(const FileIdentity&) const = default;
};

// One granted open; gives its place back when destroyed.
class ShareLease {
 public:
  // The lease, or nothing when the request clashes with an open already held.
  static std::optional<ShareLease> Acquire(FileIdentity file, DWORD access, DWORD share);

  ShareLease(ShareLease&& other) noexcept;
  ShareLease& operator=(ShareLease&&) = delete;
  ShareLease(const ShareLease&) = delete;
  ~ShareLease();

 private:
  ShareLease(FileIdentity file, std::uint64_t id) : file_(file), id_(id) {}

  FileIdentity file_;
  std::uint64_t id_;  // 0 once moved from
};

}  // namespace wqplat
