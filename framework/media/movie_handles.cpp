// The movie handle table: opening a file as a movie (the Theora player
// first, then DirectShow), closing it, and finding a handle's record.
#include <cstring>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "media/directshow_movie.h"
#include "media/movie_record.h"
#include "media/theora_context.h"
#include "sound/handle_slots.h"
#include "sound/sound_state.h"

namespace {

// Decoded pictures the Theora thread keeps ahead of the shown frame.
constexpr int kTheoraStockSize = 10;

struct MovieHandleTable {
  MovieRecord* slots[kMovieSlotCount];
  int live;
  std::uint32_t nextCheck;
};

MovieHandleTable g_movies{};

// The movie's Vorbis track as a sound streamed from the file, tried with
// the Ogg Vorbis decoder alone; -1 when there is none.
int LoadMovieSound(const char* path) {
  const int createMode = GetSoundCreateMode();
  const int decoderMask = GetSoundDecoderMask();
  MovieSoundFlag = 1;
  SetSoundCreateMode(3);
  SetSoundDecoderMask(-5);
  const int sound = LoadSound(path, 1, -1);
  SetSoundDecoderMask(decoderMask);
  MovieSoundFlag = 0;
  SetSoundCreateMode(createMode);
  return sound;
}

void OpenTheoraRecord(MovieRecord* record, const char* path, int* width, int* height) {
  record->sound = LoadMovieSound(path);
  TheoraMovieInfo info{};
  GetTheoraMovieInfo(record->theoraContext, &info);
  record->width = info.width;
  record->height = info.height;
  if (width != nullptr) *width = info.width;
  if (height != nullptr) *height = info.height;
  record->theora = 1;
  record->currentImage = GetTheoraFrameImage(record->theoraContext);
  record->windowOutput = 0;
}

}  // namespace

MovieRecord* GetMovieRecord(int handle) {
  return FindSlotRecord(g_movies.slots, kMovieSlotCount, kMovieHandleKind, handle);
}

int SetMovieUpdateCallback(int handle, MovieFrameCallback callback, int datum) {
  MovieRecord* record = GetMovieRecord(handle);
  if (record == nullptr) return -1;
  record->callback = callback;
  record->callbackDatum = datum;
  return 0;
}

int OpenMovie(const char* path, int* width, int* height, int outputMode) {
  int slot = 0;
  while (slot < kMovieSlotCount && g_movies.slots[slot] != nullptr) ++slot;
  if (slot == kMovieSlotCount) return -1;
  auto* record = static_cast<MovieRecord*>(TrackedAllocZero(sizeof(MovieRecord), "", 0));
  if (record == nullptr) return LogWrite("メモリの確保に失敗しました in OpenMovie");
  g_movies.slots[slot] = record;
  record->sound = -1;

  record->file = FileAccessOpen(path, 0, 1, 0);
  if (record->file != 0) record->theoraContext = OpenTheoraMovie(GetFileAccessTable(), record->file, kTheoraStockSize);
  if (record->theoraContext == nullptr && record->file != 0) {
    FileAccessClose(record->file);
    record->file = 0;
  }
  if (record->theoraContext != nullptr) {
    OpenTheoraRecord(record, path, width, height);
  } else {
    record->temporaryFile = 0;
    if (OpenDirectShowMovie(record, path, width, height, outputMode) == -1) {
      TrackedFree(record);
      g_movies.slots[slot] = nullptr;
      return LogWrite("ムービーファイルオープン処理時にエラーが発生しました");
    }
    record->currentImage = &record->frameImage;
  }
  record->paused = 1;
  record->playing = 0;
  record->playType = 1;
  record->check = g_movies.nextCheck;
  g_movies.nextCheck = (g_movies.nextCheck + 1) % kHandleCheckLimit;
  ++g_movies.live;
  return MakeSlotHandle(kMovieHandleKind, record->check, slot);
}

int CloseMovie(int handle) {
  MovieRecord* record = GetMovieRecord(handle);
  if (record == nullptr) return -1;
  if (record->theora) {
    // The decoding thread reads the file until it has stopped.
    CloseTheoraMovie(record->theoraContext);
    if (record->file != 0) FileAccessClose(record->file);
    if (record->sound != -1) DeleteSoundHandle(record->sound, 0);
    record->theoraContext = nullptr;
    record->file = 0;
    record->sound = -1;
    record->theora = 0;
  }
  ReleaseDirectShowMovie(record);
  TrackedFree(record);
  g_movies.slots[handle & kHandleIndexMask] = nullptr;
  --g_movies.live;
  return 0;
}

int MovieSlotHandle(int slot) {
  const MovieRecord* record = g_movies.slots[slot];
  return record != nullptr ? MakeSlotHandle(kMovieHandleKind, record->check, slot) : -1;
}
