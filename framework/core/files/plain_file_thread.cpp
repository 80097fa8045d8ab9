#include "core/files/plain_file_thread.h"

#include <algorithm>
#include <cstring>

#include "platform/kernel32.h"

namespace {

constexpr DWORD kReadAheadPauseMs = 100;

bool MoveFilePointer(HANDLE file, DWORD position) {
  LONG high = 0;
  return SetFilePointer(file, static_cast<LONG>(position), &high, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

DWORD ReadAt(HANDLE file, DWORD position, BYTE* destination, DWORD count) {
  DWORD read = 0;
  if (!MoveFilePointer(file, position) || !ReadFile(file, destination, count, &read, nullptr)) return 0;
  return read;
}

// After a pause without requests, fills the cache behind the bytes held.
void ReadAhead(PlainFileThreadBlock* block) {
  if (block->file == nullptr || block->cacheHeld == PLAIN_FILE_CACHE_SIZE) return;
  block->cacheHeld += ReadAt(block->file, block->cachePosition + block->cacheHeld, block->cache + block->cacheHeld,
                             PLAIN_FILE_CACHE_SIZE - block->cacheHeld);
}

// Serves the cached bytes at the request's position first, then reads the
// rest from the file. readCount becomes the number of bytes delivered.
void ServeRead(PlainFileThreadBlock* block) {
  BYTE* destination = block->readDestination;
  DWORD position = block->readPosition;
  DWORD wanted = block->readCount;
  DWORD delivered = 0;
  if (block->cacheHeld > 0 && position == block->cachePosition) {
    const DWORD n = std::min(wanted, block->cacheHeld);
    std::memcpy(destination, block->cache, n);
    destination += n;
    position += n;
    wanted -= n;
    delivered += n;
    block->cachePosition += n;
    block->cacheHeld -= n;
    std::memmove(block->cache, block->cache + n, block->cacheHeld);
  }
  if (wanted > 0) {
    const DWORD read = ReadAt(block->file, position, destination, wanted);
    delivered += read;
    if (block->cache != nullptr) {
      block->cacheHeld = 0;
      block->cachePosition = position + read;
    }
  }
  block->readCount = delivered;
}

}  // namespace

void WaitPlainFileRequestDone(PlainFileThreadBlock* block) { WaitForSingleObject(block->doneEvent, INFINITE); }

void IssuePlainFileRequest(PlainFileThreadBlock* block, DWORD command) {
  block->command = command;
  ResetEvent(block->doneEvent);
  SetEvent(block->requestEvent);
}

DWORD FileReaderThread(void* parameter) {
  auto* block = static_cast<PlainFileThreadBlock*>(parameter);
  for (;;) {
    const DWORD wait = WaitForSingleObject(block->requestEvent, block->cache != nullptr ? kReadAheadPauseMs : INFINITE);
    if (wait == WAIT_TIMEOUT) {
      ReadAhead(block);
      continue;
    }
    ResetEvent(block->requestEvent);
    switch (block->command) {
      case PLAIN_FILE_OPEN:
        block->file = CreateFileA(block->path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (block->file == INVALID_HANDLE_VALUE) {
          block->file = nullptr;
          block->openFailed = 1;
          block->threadEnded = 1;
          SetEvent(block->doneEvent);
          return 0;
        }
        break;
      case PLAIN_FILE_CLOSE:
        CloseHandle(block->file);
        block->file = nullptr;
        break;
      case PLAIN_FILE_READ:
        ServeRead(block);
        break;
      case PLAIN_FILE_SEEK:
        MoveFilePointer(block->file, block->seekPosition);
        if (block->cache != nullptr) {
          block->cacheHeld = 0;
          block->cachePosition = block->seekPosition;
        }
        break;
      case PLAIN_FILE_END:
        if (block->file != nullptr) CloseHandle(block->file);
        block->file = nullptr;
        block->threadEnded = 1;
        SetEvent(block->doneEvent);
        return 0;
    }
    SetEvent(block->doneEvent);
  }
}
