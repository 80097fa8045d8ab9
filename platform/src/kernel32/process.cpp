// The debugger output and the end of the process.
#include <unistd.h>

#include <cstdio>

#include "kernel32/text_encoding.h"
#include "platform/kernel32_system.h"

// The text goes out as written (no line end is added), so pieces of one
// line arrive as one line.
void OutputDebugStringA(LPCSTR text) {
  if (text == nullptr) return;
  const std::string utf8 = wqplat::Cp932ToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

// Ends at once, as on Windows, without running the destructors of objects
// other threads may still be using; buffered output is flushed first.
void ExitProcess(UINT exit_code) {
  std::fflush(nullptr);
  _exit(static_cast<int>(exit_code));
}
