#include "kernel32/file_object.h"

#include <unistd.h>

#include "platform/kernel32_file.h"

namespace wqplat {

FileObject::~FileObject() { close(fd_); }

bool FileObject::CanRead() const { return (desired_access_ & GENERIC_READ) != 0; }

bool FileObject::CanWrite() const { return (desired_access_ & GENERIC_WRITE) != 0; }

}  // namespace wqplat
