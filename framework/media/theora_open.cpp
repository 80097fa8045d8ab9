// Opening and closing a Theora movie: the header reader, the scan of the
// whole file into the page table and the key-frame table (so that a seek
// jumps to a recorded page), and the start of the decoding thread.
#include <cstring>
#include <new>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "media/theora_context.h"

namespace {

constexpr int kTableGrowth = 1000;

// Grows a tracked table by kTableGrowth items; false (the table kept) when
// the allocator refuses.
template <typename Item>
bool GrowTable(Item** table, std::int32_t* capacity) {
  const std::size_t items = static_cast<std::size_t>(*capacity) + kTableGrowth;
  void* grown = TrackedRealloc(*table, items * sizeof(Item), "", 0);
  if (grown == nullptr) return false;
  *table = static_cast<Item*>(grown);
  *capacity = static_cast<std::int32_t>(items);
  return true;
}

// A beginning-of-stream page that starts a Theora stream becomes the
// context's stream, holding the first header.
bool TryTheoraStreamStart(TheoraContext* c) {
  ogg_stream_state scratch;
  ogg_stream_init(&scratch, ogg_page_serialno(&c->page));
  ogg_stream_pagein(&scratch, &c->page);
  if (c->headerCount == 0 && ogg_stream_packetout(&scratch, &c->packet) > 0 &&
      theora_decode_header(&c->info, &c->comment, &c->packet) == 0) {
    c->serial = ogg_page_serialno(&c->page);
    c->headerCount = 1;
    c->stream = scratch;
    return true;
  }
  ogg_stream_clear(&scratch);
  return false;
}

int FailHeaders() {
  LogWrite("End of file while searching for codec headers.");
  return -1;
}

// Every Theora packet of the file once: a page entry for each page after
// which frames came out, and the key flag of every frame. False when a
// table cannot grow.
bool ScanFrames(TheoraContext* c) {
  std::int64_t total = 0;
  std::int64_t lastPageOffset = 0;
  bool newPage = false;
  for (;;) {
    const int taken = ogg_stream_packetout(&c->stream, &c->packet);
    if (taken == 0) {
      if (!TakeTheoraPage(c, &total)) return true;
      newPage = true;
      lastPageOffset = total;
      total += c->page.header_len + c->page.body_len;
      // Pages of other streams count in the offsets; the stream refuses them.
      ogg_stream_pagein(&c->stream, &c->page);
      continue;
    }
    if (taken < 0) continue;
    const int key = theora_packet_iskeyframe(&c->packet);
    if (key < 0) continue;
    if (newPage) {
      if (c->pageCount == c->pageCapacity && !GrowTable(&c->pages, &c->pageCapacity)) return false;
      c->pages[c->pageCount++] = {static_cast<std::int32_t>(lastPageOffset), static_cast<std::int32_t>(c->frameCount),
                                  0, 0};
      newPage = false;
    }
    if (c->frameCount == c->keyFrameCapacity && !GrowTable(&c->keyFrames, &c->keyFrameCapacity)) return false;
    TheoraPageEntry& entry = c->pages[c->pageCount - 1];
    c->keyFrames[c->frameCount] = key == 1 ? 1 : 0;
    if (key == 1) entry.key = 1;
    ++c->frameCount;
    ++entry.frameCount;
  }
}

TheoraContext* FailOpen(TheoraContext* c, const char* message) {
  if (message != nullptr) LogWrite(message);
  CloseTheoraMovie(c);
  return nullptr;
}

}  // namespace

int ReadTheoraStreamData(TheoraContext* c, int bytes) {
  char* buffer = ogg_sync_buffer(&c->sync, bytes);
  if (buffer == nullptr) return 0;
  const std::int64_t read = c->files.read(buffer, 1, static_cast<std::size_t>(bytes), c->file);
  const int got = read > 0 ? static_cast<int>(read) : 0;
  ogg_sync_wrote(&c->sync, got);
  return got;
}

int TakeTheoraPage(TheoraContext* c, std::int64_t* skipped) {
  for (;;) {
    const long result = ogg_sync_pageseek(&c->sync, &c->page);
    if (result > 0) return 1;
    if (result < 0) {
      if (skipped != nullptr) *skipped -= result;
      continue;
    }
    if (ReadTheoraStreamData(c, kTheoraReadPiece) == 0) return 0;
  }
}

int ReadTheoraHeaders(TheoraContext* c) {
  // The beginning-of-stream pages come first; the first other page ends
  // the search and belongs to the stream found.
  for (;;) {
    if (!TakeTheoraPage(c, nullptr)) return FailHeaders();
    if (!ogg_page_bos(&c->page)) {
      if (c->headerCount > 0) ogg_stream_pagein(&c->stream, &c->page);
      break;
    }
    TryTheoraStreamStart(c);
  }
  while (c->headerCount < 3) {
    const int taken = c->headerCount > 0 ? ogg_stream_packetout(&c->stream, &c->packet) : 0;
    if (taken < 0) return -1;
    if (taken > 0) {
      if (theora_decode_header(&c->info, &c->comment, &c->packet) != 0) return -1;
      ++c->headerCount;
      continue;
    }
    if (!TakeTheoraPage(c, nullptr)) return FailHeaders();
    if (c->headerCount > 0) ogg_stream_pagein(&c->stream, &c->page);
  }
  return c->headerCount > 0 ? 1 : -1;
}

TheoraContext* OpenTheoraStream(const FileAccessTable* files, FileHandle file) {
  char magic[4] = {};
  if (files->read(magic, 1, 4, file) != 4 || std::memcmp(magic, "OggS", 4) != 0) return nullptr;
  files->seek(file, 0, 0);

  void* block = TrackedAllocZero(sizeof(TheoraContext), "", 0);
  if (block == nullptr) return LogWrite("Theora ムービーデコード処理用のメモリ確保に失敗しました\n"), nullptr;
  auto* c = new (block) TheoraContext{};
  c->currentFrame = -1;
  ogg_sync_init(&c->sync);
  theora_info_init(&c->info);
  theora_comment_init(&c->comment);
  c->files = *files;
  c->file = file;
  return ReadTheoraHeaders(c) < 0 ? FailOpen(c, nullptr) : c;
}

int ScanTheoraFrames(TheoraContext* c) {
  ogg_sync_reset(&c->sync);
  ogg_stream_reset(&c->stream);
  c->files.seek(c->file, 0, 0);
  c->pages = static_cast<TheoraPageEntry*>(TrackedAlloc(kTableGrowth * sizeof(TheoraPageEntry), "", 0));
  if (c->pages == nullptr) return LogWrite("Theora ページ情報格納用メモリの確保に失敗しました\n");
  c->pageCapacity = kTableGrowth;
  c->keyFrames = static_cast<std::uint8_t*>(TrackedAlloc(kTableGrowth, "", 0));
  if (c->keyFrames == nullptr) return LogWrite("Theora キーフレーム情報格納用メモリの確保に失敗しました\n");
  c->keyFrameCapacity = kTableGrowth;
  // A table that cannot grow would leave frames without entries, and a
  // stream without frames has nothing to show: neither opens.
  if (!ScanFrames(c) || c->frameCount == 0) return -1;
  // A seek to the first page starts at the top of the file, headers and all.
  c->pages[0].offset = 0;
  return 0;
}

TheoraContext* OpenTheoraMovie(const FileAccessTable* files, FileHandle file, int stockSize) {
  TheoraContext* c = OpenTheoraStream(files, file);
  if (c == nullptr) return nullptr;

  c->pauseTicket = 1;
  c->pauseRequest = c->pauseTicket;
  c->threadState = kTheoraStockFull;
  c->thread = CreateThread(nullptr, 0, TheoraDecodeThread, c, 0, &c->threadId);
  if (c->thread == nullptr) return FailOpen(c, "Theora ムービーデコード用スレッドの作成に失敗しました\n");

  // A decoder that cannot be made (a picture size it refuses) fails like
  // any other header error.
  if (theora_decode_init(&c->decoder, &c->info) != 0) return FailOpen(c, nullptr);
  if (ScanTheoraFrames(c) != 0) return FailOpen(c, nullptr);

  CreateTheoraYV12Surface(c);
  if (CreateXrgbBaseImage(static_cast<int>(c->info.width), static_cast<int>(c->info.height), &c->frameImage) != 0)
    return FailOpen(c, "Theora ムービーデコードフレームストック用画像バッファの確保に失敗しました\n");

  void* stock = TrackedAllocZero(static_cast<std::size_t>(stockSize) * sizeof(TheoraStockEntry), "", 0);
  if (stock == nullptr) return FailOpen(c, "Theora ムービーデコードフレームストック用のメモリ確保に失敗しました\n");
  c->stock = static_cast<TheoraStockEntry*>(stock);
  for (int i = 0; i < stockSize; ++i) new (&c->stock[i]) TheoraStockEntry{};
  c->stockSize = stockSize;

  SeekTheoraMovie(c, 0);
  ConvertTheoraFrame(c, 1, 1);
  return c;
}

int CloseTheoraMovie(TheoraContext* c) {
  if (c->thread != nullptr) {
    c->stopRequest = 1;
    while (c->threadState != kTheoraEnded) Sleep(1);
    WaitForSingleObject(c->thread, INFINITE);
    CloseHandle(c->thread);
  }
  for (int i = 0; i < c->stockSize; ++i) {
    YuvPlanes& planes = c->stock[i].planes;
    for (std::uint8_t* plane : {planes.y, planes.u, planes.v})
      if (plane != nullptr) TrackedFree(plane);
  }
  if (c->stock != nullptr) TrackedFree(c->stock);
  if (c->surface != nullptr) c->surface->Release();
  if (c->pages != nullptr) TrackedFree(c->pages);
  if (c->keyFrames != nullptr) TrackedFree(c->keyFrames);
  ReleaseBaseImage(&c->frameImage);
  ogg_stream_clear(&c->stream);
  theora_clear(&c->decoder);
  theora_comment_clear(&c->comment);
  theora_info_clear(&c->info);
  ogg_sync_clear(&c->sync);
  c->~TheoraContext();
  TrackedFree(c);
  return 0;
}
