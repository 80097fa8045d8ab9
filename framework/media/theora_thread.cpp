// The Theora decoding thread: it waits while paused, seeks on request
// through the page table, and otherwise decodes ahead of the current frame
// into the stock (at most the stock's size ahead), wrapping to the start of
// the file after the last frame so that looping movies never stall.
#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "media/theora_context.h"

namespace {

// The next data packet of the stream (header packets are passed over); 0
// at the end of the file.
int TakeDataPacket(TheoraContext* c) {
  for (;;) {
    const int taken = ogg_stream_packetout(&c->stream, &c->packet);
    if (taken > 0) {
      if (theora_packet_iskeyframe(&c->packet) >= 0) return 1;
      continue;
    }
    if (taken < 0) continue;
    if (!TakeTheoraPage(c, nullptr)) return 0;
    ogg_stream_pagein(&c->stream, &c->page);
  }
}

// Feeds the packets of frames first .. last to the decoder; false when the
// file ends before the last.
bool DecodeThrough(TheoraContext* c, int first, int last) {
  for (int frame = first; frame <= last; ++frame) {
    if (!TakeDataPacket(c)) return false;
    theora_decode_packetin(&c->decoder, &c->packet);
  }
  return true;
}

TheoraStockEntry* FindStockEntry(TheoraContext* c, int frame) {
  for (int i = 0; i < c->stockSize; ++i)
    if (c->stock[i].used && c->stock[i].frame == frame) return &c->stock[i];
  return nullptr;
}

TheoraStockEntry* FirstFreeEntry(TheoraContext* c) {
  for (int i = 0; i < c->stockSize; ++i)
    if (!c->stock[i].used) return &c->stock[i];
  return nullptr;
}

// Keeps the pictures of the window current .. current + stock size (which
// continues at frame 0 past the end). A picture past the window is freed
// too when the decoder has passed it: the current frame wrapped back to
// the start, and a stock full of frames far ahead would never make room
// for it.
void FreeStaleEntries(TheoraContext* c) {
  const int current = c->currentFrame;
  const std::int64_t window = static_cast<std::int64_t>(current) + c->stockSize;
  for (int i = 0; i < c->stockSize; ++i) {
    TheoraStockEntry& entry = c->stock[i];
    if (!entry.used) continue;
    const int frame = entry.frame;
    const bool stale = frame < current ? !(window >= c->frameCount && frame <= window - c->frameCount) : frame > window;
    if (stale) entry.used = 0;
  }
}

// Copies one plane row by row (the decoder's rows may run upward in memory).
bool KeepPlane(std::uint8_t** copy, const std::uint8_t* source, int stride, int width, int height) {
  if (*copy == nullptr) {
    *copy = static_cast<std::uint8_t*>(TrackedAlloc(static_cast<std::size_t>(width) * height, "", 0));
    if (*copy == nullptr) return false;
  }
  for (int row = 0; row < height; ++row)
    std::memcpy(*copy + static_cast<std::size_t>(row) * width, source + static_cast<std::ptrdiff_t>(row) * stride,
                static_cast<std::size_t>(width));
  return true;
}

void FreePlane(std::uint8_t** plane) {
  if (*plane != nullptr) TrackedFree(*plane);
  *plane = nullptr;
}

// The decoder's output into a free entry, marked as the decoded frame.
void StoreDecodedPicture(TheoraContext* c, TheoraStockEntry* entry) {
  yuv_buffer yuv{};
  if (theora_decode_YUVout(&c->decoder, &yuv) != 0 || yuv.y_width < 1 || yuv.y_height < 1) return;
  YuvPlanes& kept = entry->planes;
  if (kept.yWidth != yuv.y_width || kept.yHeight != yuv.y_height) FreePlane(&kept.y);
  if (kept.uvWidth != yuv.uv_width || kept.uvHeight != yuv.uv_height) {
    FreePlane(&kept.u);
    FreePlane(&kept.v);
  }
  kept.yWidth = kept.yStride = yuv.y_width;
  kept.yHeight = yuv.y_height;
  kept.uvWidth = kept.uvStride = yuv.uv_width;
  kept.uvHeight = yuv.uv_height;
  if (!KeepPlane(&kept.y, yuv.y, yuv.y_stride, yuv.y_width, yuv.y_height) ||
      !KeepPlane(&kept.u, yuv.u, yuv.uv_stride, yuv.uv_width, yuv.uv_height) ||
      !KeepPlane(&kept.v, yuv.v, yuv.uv_stride, yuv.uv_width, yuv.uv_height))
    return;
  entry->frame = c->decodedFrame.load();
  entry->used = 1;
}

// Seeks from a page that lies before the target's key frame: the nearest
// key page before the target's page, and one page more, since a key frame
// may begin in the page before the one it came out of.
void SeekToTarget(TheoraContext* c) {
  c->threadState = kTheoraSeeking;
  const int target = c->seekTarget;
  int page = 0;
  while (page < c->pageCount - 1 && c->pages[page].firstFrame + c->pages[page].frameCount <= target) ++page;
  int start = page > 0 ? page - 1 : 0;
  while (start > 0 && !c->pages[start].key) --start;
  if (start > 0) --start;
  const bool reached = DecodeThrough(c, RestartTheoraAtPage(c, start), target);
  for (int i = 0; i < c->stockSize; ++i) c->stock[i].used = 0;
  c->decodedFrame = target;
  c->endOfData = reached ? 0 : 1;
  c->seekRequest = 0;
}

// Brings the decoder to the frame after the decoded one, or on to the
// current frame when the stock lacks it; false at the end of the file.
bool DecodeAhead(TheoraContext* c) {
  const int current = c->currentFrame;
  const int decoded = c->decodedFrame;
  int step = 1;
  if (FindStockEntry(c, current) == nullptr) {
    // On to the current frame; when it wrapped back behind the decoder,
    // through the end to the start of the file.
    if (current > decoded) step = current - decoded;
    if (current < decoded) step = static_cast<int>(c->frameCount - decoded + current);
  }
  if (decoded + step < c->frameCount) return DecodeTheoraFrames(c, step) >= 0;
  // Past the last frame: start again at the top of the file.
  const int wrapped = static_cast<int>(decoded + step - c->frameCount);
  if (!DecodeThrough(c, RestartTheoraAtPage(c, 0), wrapped)) return false;
  c->decodedFrame = wrapped;
  return true;
}

void RunCycle(TheoraContext* c) {
  const std::int32_t pause = c->pauseRequest;
  if (pause != 0) {
    c->pauseAck = pause;
    c->threadState = kTheoraPaused;
    Sleep(1);
    return;
  }
  if (c->seekRequest) {
    SeekToTarget(c);
    return;
  }
  if (!c->endOfData) FreeStaleEntries(c);
  TheoraStockEntry* entry = FirstFreeEntry(c);
  if (entry == nullptr) {
    c->threadState = kTheoraStockFull;
    Sleep(0);
    return;
  }
  c->threadState = kTheoraWorking;
  // The decoder's output is kept when the stock lacks it and it lies in
  // the window (as after a seek).
  const int current = c->currentFrame, decoded = c->decodedFrame;
  const bool storeAtOnce =
      FindStockEntry(c, decoded) == nullptr && current <= decoded && decoded <= current + c->stockSize;
  if (!storeAtOnce && !DecodeAhead(c)) {
    c->endOfData = 1;
    Sleep(1);
    return;
  }
  StoreDecodedPicture(c, entry);
  Sleep(0);
}

}  // namespace

int RestartTheoraAtPage(TheoraContext* c, int entry) {
  ogg_sync_reset(&c->sync);
  ogg_stream_reset(&c->stream);
  c->files.seek(c->file, c->pages[entry].offset, 0);
  int first = c->pages[entry].firstFrame;
  if (entry != 0 && TakeTheoraPage(c, nullptr)) {
    // The page's leading piece of a packet is lost without its start.
    if (ogg_page_continued(&c->page)) ++first;
    ogg_stream_pagein(&c->stream, &c->page);
  }
  return first;
}

int DecodeTheoraFrames(TheoraContext* c, int frames) {
  if (frames < 1) return theora_packet_iskeyframe(&c->packet) == 1 ? 1 : 0;
  int decoded = c->decodedFrame;
  // Packets before the last key frame of the range need no decoding.
  int lastKey = -1;
  for (int frame = std::max(decoded, 0); frame <= decoded + frames - 1 && frame < c->frameCount; ++frame)
    if (c->keyFrames[frame]) lastKey = frame;
  for (int taken = 0; taken < frames; ++taken) {
    if (!TakeDataPacket(c)) return -1;
    if (lastKey == -1 || lastKey <= decoded + 1) theora_decode_packetin(&c->decoder, &c->packet);
    c->decodedFrame = ++decoded;
  }
  return theora_packet_iskeyframe(&c->packet) == 1 ? 1 : 0;
}

DWORD WINAPI TheoraDecodeThread(LPVOID parameter) {
  auto* c = static_cast<TheoraContext*>(parameter);
  while (c->stopRequest == 0) RunCycle(c);
  c->threadState = kTheoraEnded;
  return 0;
}
