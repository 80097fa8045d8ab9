#include <cstring>

#include "WqLib.h"
#include "platform/windows.h"
#include "core/window/window_system_state.h"

int ReadClipboardText(char* buffer) {
  if (!OpenClipboard(WindowSystem().mainWindow)) return -1;
  int result = -1;
  if (IsClipboardFormatAvailable(CF_TEXT)) {
    HANDLE block = GetClipboardData(CF_TEXT);
    const char* text = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (text != nullptr) {
      // The block need not be terminated: never read past it. The caller
      // sized its buffer as block size + 1, which always fits.
      const std::size_t blockSize = GlobalSize(block);
      if (buffer != nullptr) {
        const std::size_t length = strnlen(text, blockSize);
        std::memcpy(buffer, text, length);
        buffer[length] = '\0';
        result = 0;
      } else {
        result = static_cast<int>(blockSize) + 1;
      }
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return result;
}

int WriteClipboardText(const char* text) {
  const std::size_t size = std::strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return -1;
  char* data = static_cast<char*>(GlobalLock(block));
  if (data == nullptr) {
    GlobalFree(block);
    return -1;
  }
  std::memcpy(data, text, size);
  GlobalUnlock(block);
  if (!OpenClipboard(WindowSystem().mainWindow)) {
    GlobalFree(block);
    return -1;
  }
  EmptyClipboard();
  const bool stored = SetClipboardData(CF_TEXT, block) != nullptr;
  if (!stored) GlobalFree(block);
  CloseClipboard();
  return stored ? 0 : -1;
}
