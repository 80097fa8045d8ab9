// Plain disk files: direct, or through a reader thread of their own.
#include "core/files/plain_file.h"

#include "core/base/log_file.h"
#include "core/files/plain_file_thread.h"
#include "platform/kernel32.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"

namespace {

HANDLE OpenForReading(const char* path, DWORD shareMode) {
  return CreateFileA(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WaitForThreadEnd(HANDLE thread) {
  DWORD exitCode = STILL_ACTIVE;
  while (GetExitCodeThread(thread, &exitCode) && exitCode == STILL_ACTIVE) Sleep(0);
}

// Frees what a threaded file holds besides its thread.
void ReleaseThreadResources(PlainFile* file) {
  TrackedFree(file->thread.cache);
  if (file->thread.requestEvent != nullptr) CloseHandle(file->thread.requestEvent);
  if (file->thread.doneEvent != nullptr) CloseHandle(file->thread.doneEvent);
  TrackedFree(file);
}

PlainFile* StartReaderThread(PlainFile* file, const char* path) {
  PlainFileThreadBlock* block = &file->thread;
  if (file->cache) {
    block->cache = static_cast<BYTE*>(TrackedAlloc(PLAIN_FILE_CACHE_SIZE, "", 0));
    if (block->cache == nullptr) {
      TrackedFree(file);
      LogWrite("ファイル読み込みキャッシュ用メモリの確保に失敗しました\n");
      return nullptr;
    }
  }
  block->requestEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  block->doneEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  if (block->requestEvent != nullptr && block->doneEvent != nullptr) {
    block->thread = CreateThread(nullptr, 0, FileReaderThread, block, 0, &block->threadId);
  }
  if (block->thread == nullptr) {
    ReleaseThreadResources(file);
    LogWrite("ファイルアクセス専用スレッドの作成に失敗しました\n");
    return nullptr;
  }
  WaitPlainFileRequestDone(block);
  StringCopyN(block->path, path, MAX_PATH - 1);
  IssuePlainFileRequest(block, PLAIN_FILE_OPEN);
  WaitPlainFileRequestDone(block);
  if (block->openFailed) {
    WaitForThreadEnd(block->thread);
    CloseHandle(block->thread);
    ReleaseThreadResources(file);
    LogWrite("ファイルのオープンに失敗しました\n");
    return nullptr;
  }
  return file;
}

}  // namespace

PlainFile* PlainFileOpen(const char* path, int cache, int /*reserved*/, int asynchronous) {
  auto* file = static_cast<PlainFile*>(TrackedAllocZero(sizeof(PlainFile), "", 0));
  if (file == nullptr) return nullptr;
  file->cache = cache != 0;
  file->asynchronous = asynchronous != 0;
  file->threaded = file->cache || file->asynchronous;
  HANDLE handle = OpenForReading(path, FILE_SHARE_READ);
  if (handle == INVALID_HANDLE_VALUE) {
    TrackedFree(file);
    return nullptr;
  }
  file->size = GetFileSize(handle, nullptr);
  if (!file->threaded) {
    file->file = handle;
    return file;
  }
  // The thread opens the file itself; this handle only measured it.
  CloseHandle(handle);
  return StartReaderThread(file, path);
}

int PlainFileClose(PlainFile* file) {
  if (!file->threaded) {
    const BOOL closed = CloseHandle(file->file);
    TrackedFree(file);
    return closed ? 0 : -1;
  }
  WaitPlainFileRequestDone(&file->thread);
  IssuePlainFileRequest(&file->thread, PLAIN_FILE_END);
  WaitPlainFileRequestDone(&file->thread);
  WaitForThreadEnd(file->thread.thread);
  CloseHandle(file->thread.thread);
  ReleaseThreadResources(file);
  return 0;
}

LONG PlainFileTell(PlainFile* file) { return static_cast<LONG>(file->position); }

int PlainFileSeek(PlainFile* file, LONG offset, int origin) {
  const LONG base = origin == 1 ? static_cast<LONG>(file->position) : origin == 2 ? static_cast<LONG>(file->size) : 0;
  const LONG target = base + offset;
  if (!file->threaded) {
    if (target < 0 || SetFilePointer(file->file, target, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return -1;
  } else {
    WaitPlainFileRequestDone(&file->thread);
    file->thread.seekPosition = static_cast<DWORD>(target);
    IssuePlainFileRequest(&file->thread, PLAIN_FILE_SEEK);
  }
  file->position = static_cast<DWORD>(target);
  file->end = 0;
  return 0;
}

size_t PlainFileRead(void* destination, size_t itemSize, size_t count, PlainFile* file) {
  // A position at or past the end (a seek may go there) reads nothing.
  if (file->position >= file->size) {
    file->end = 1;
    return 0;
  }
  if (itemSize == 0 || count == 0) return 0;
  const size_t remaining = file->size - file->position;
  if (count > remaining / itemSize) count = remaining / itemSize;
  if (count == 0) {
    file->end = 1;
    return 0;
  }
  const auto bytes = static_cast<DWORD>(itemSize * count);
  DWORD delivered = 0;
  if (!file->threaded) {
    if (!ReadFile(file->file, destination, bytes, &delivered, nullptr)) delivered = 0;
  } else {
    PlainFileThreadBlock* block = &file->thread;
    WaitPlainFileRequestDone(block);
    block->readDestination = static_cast<BYTE*>(destination);
    block->readPosition = file->position;
    block->readCount = bytes;
    IssuePlainFileRequest(block, PLAIN_FILE_READ);
    if (file->asynchronous) {
      // The caller polls the idle check before using the data.
      file->position += bytes;
      return count;
    }
    WaitPlainFileRequestDone(block);
    delivered = block->readCount;
  }
  // Only whole items count; the position follows what was delivered.
  const size_t items = delivered / itemSize;
  file->position += static_cast<DWORD>(items * itemSize);
  if (!file->threaded && delivered != items * itemSize) {
    SetFilePointer(file->file, static_cast<LONG>(file->position), nullptr, FILE_BEGIN);
  }
  return items;
}

int PlainFileEof(PlainFile* file) { return file->end ? -1 : 0; }

int PlainFileIdleCheck(PlainFile* file) {
  if (!file->threaded) return 1;
  return WaitForSingleObject(file->thread.doneEvent, 0) == WAIT_OBJECT_0 ? 1 : 0;
}
