#include "kernel32/path_caller_buffer.h"

#include <cstring>

namespace wqplat {

DWORD CopyToCallerBuffer(std::string_view text, DWORD size, char* buffer) {
  if (buffer == nullptr || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}

}  // namespace wqplat
