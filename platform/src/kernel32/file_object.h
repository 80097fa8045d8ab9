// An open file behind a HANDLE: the Linux descriptor, the access it was
// opened with and its place among the file's shared opens.
#pragma once

#include <utility>

#include "kernel32/file_sharing.h"
#include "kernel32/kernel_object.h"

namespace wqplat {

class FileObject : public KernelObject {
 public:
  FileObject(int fd, DWORD desired_access, ShareLease lease)
      : fd_(fd), desired_access_(desired_access), lease_(std::move(lease)) {}
  ~FileObject() override;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  int fd() const { return fd_; }
  bool CanRead() const;
  bool CanWrite() const;

 private:
  int fd_;
  DWORD desired_access_;
  ShareLease lease_;
};

}  // namespace wqplat
