// Refilling a stream sound's ring buffer ahead of its play cursor from its
// sources, moving on to the next source, repeating, looping, and ending
// with silence once the data is done.
#include <algorithm>
#include <cstring>

#include "sound/sound_state.h"
#include "sound/stream_sound_ring.h"

namespace {

struct RefillSizes {
  std::uint32_t eighth;     // written per refill while the lead is long enough
  std::uint32_t firstFill;  // three quarters of a second
};

RefillSizes SizesOf(const WAVEFORMATEX& format) {
  const std::uint64_t second = format.nAvgBytesPerSec;
  const std::uint64_t block = format.nBlockAlign;
  return RefillSizes{static_cast<std::uint32_t>(((second >> 3) / block) * block),
                     static_cast<std::uint32_t>((((second * 3) << 6 >> 8) / block) * block)};
}

BYTE SilenceByte(const WAVEFORMATEX& format) { return format.wBitsPerSample == 8 ? 127 : 0; }

// Fills the region's parts in turn from the decoder: the bytes delivered.
std::uint32_t ReadStreamSoundSource(LockedRegion* region, SoundDecoder* decoder, std::uint32_t bytes) {
  std::uint32_t delivered = 0;
  for (int part = 0; part < 2 && delivered < bytes; ++part) {
    while (region->left[part] > 0 && delivered < bytes) {
      const std::uint32_t want = std::min(region->left[part], bytes - delivered);
      const int read = ReadSoundDecoder(decoder, region->Next(part), want);
      if (read <= 0) return delivered;
      region->left[part] -= static_cast<std::uint32_t>(read);
      delivered += static_cast<std::uint32_t>(read);
    }
  }
  return delivered;
}

void WriteSilence(LockedRegion* region, std::uint32_t bytes, BYTE silence) {
  for (int part = 0; part < 2 && bytes > 0; ++part) {
    const std::uint32_t take = std::min(region->left[part], bytes);
    if (take == 0) continue;
    std::memset(region->Next(part), silence, take);
    region->left[part] -= take;
    bytes -= take;
  }
}

void MarkRestart(SoundRecord* record, const LockedRegion& region, std::int32_t base) {
  record->restartBase = base;
  record->restartPending = 1;
  record->restartMark = region.RingPosition();
}

// At the end of the current source's data: 0 to go on reading, -1 when
// the sound has ended (silence then follows the data in the region).
int AdvanceStreamSoundSource(SoundRecord* record, LockedRegion* region, std::uint32_t cursor) {
  const std::uint32_t block = record->format.nBlockAlign;
  StreamSoundSource* source = &record->sources[record->currentSource];
  ++record->repeatsDone;
  if (source->repeatCount == kRepeatForever) {
    if (record->restartPending) return 0;
    record->bytesRead = static_cast<std::int32_t>(block) * source->loopStartSample;
    MarkRestart(record, *region, record->bytesRead);
  } else if (record->repeatsDone <= static_cast<std::int8_t>(source->repeatCount)) {
    record->bytesRead = 0;
  } else {
    const bool lastSource = record->currentSource == record->sourceCount - 1;
    if (lastSource && record->playType == kPlayLoop && record->restartPending) return 0;
    record->repeatsDone = 0;
    ++record->currentSource;
    record->bytesRead = 0;
    if (record->currentSource >= record->sourceCount) {
      record->lastSourceDone = 1;
      if (record->playType == kPlayLoop) {
        record->currentSource = 0;
        MarkRestart(record, *region, 0);
      } else {
        record->currentSource = record->sourceCount - 1;
        record->endReached = 1;
        record->endMark = region->RingPosition();
        record->cursorAtEnd = cursor;
        // An eighth of a second of silence behind the data, not counted
        // as written.
        LockedRegion rest = *region;
        WriteSilence(&rest, SizesOf(record->format).eighth, SilenceByte(record->format));
        return -1;
      }
    }
    source = &record->sources[record->currentSource];
  }
  SeekSoundDecoder(&source->decoder, record->bytesRead / static_cast<std::int32_t>(block));
  return 0;
}

// Decodes up to `bytes` into the region. Two reads in a row without data
// (a restart that has to wait for the cursor, or a source without data)
// end the fill for this call rather than spin.
std::uint32_t FillFromSources(SoundRecord* record, LockedRegion* region, std::uint32_t bytes,
                              std::uint32_t cursor) {
  const std::uint32_t block = record->format.nBlockAlign;
  std::uint32_t left = bytes;
  bool lastReadEmpty = false;
  while (left > 0 && !record->endReached) {
    const int sourceIndex = record->currentSource;
    StreamSoundSource* source = &record->sources[sourceIndex];
    std::uint32_t request = left;
    if (source->loopEndSample >= 0) {
      const std::int64_t room = std::int64_t{block} * source->loopEndSample - record->bytesRead;
      request = static_cast<std::uint32_t>(std::clamp<std::int64_t>(room, 0, request));
    }
    const std::uint32_t got = request == 0 ? 0 : ReadStreamSoundSource(region, &source->decoder, request);
    if (got == 0) {
      if (lastReadEmpty) break;
      lastReadEmpty = true;
      if (AdvanceStreamSoundSource(record, region, cursor) != 0) break;
      continue;
    }
    lastReadEmpty = false;
    left -= got;
    record->bytesRead += static_cast<std::int32_t>(got);
    if (record->currentSource == sourceIndex && source->loopEndSample >= 0 &&
        record->bytesRead >= static_cast<std::int64_t>(block) * source->loopEndSample) {
      break;
    }
  }
  return bytes - left;
}

// Whether the cursor lies in the stretch already written ahead of it.
bool CursorInsideWrittenStretch(std::int32_t write, std::int32_t guard, std::uint32_t cursor) {
  const auto p = static_cast<std::int64_t>(cursor);
  if (write < guard) return write < p && p < guard;
  if (write > guard) return p < guard || p > write;
  return false;
}

}  // namespace

void ResetStreamPosition(SoundRecord* record) {
  record->currentSource = 0;
  record->repeatsDone = 0;
  record->bytesRead = 0;
  record->playedBytes = 0;
  record->restartPending = 0;
  record->active = 0;
}

int PrefillStreamSound(int handle) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr) return -1;
  SoundBuffer* ring = nullptr;
  if (!record->stream || AcquireStreamSoundBuffer(handle, record, &ring, 0) != 0) return 0;
  if (GetSoundBufferPlaying(ring) == 1 || record->active) return 0;
  SetSoundBufferPosition(ring, 0);
  record->writePosition = kRingNotFilled;
  record->fillGuard = -1;
  record->lastPlayCursor = 0;
  record->endReached = 0;
  SeekSoundDecoder(&record->sources[record->currentSource].decoder,
                   record->bytesRead / static_cast<std::int32_t>(record->format.nBlockAlign));
  record->active = 1;
  return RefillStreamSound(handle);
}

int RefillStreamSound(int handle) {
  if (!SoundStarted()) return -1;
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr) return -1;
  SoundBuffer* ring = nullptr;
  if (!record->stream || AcquireStreamSoundBuffer(handle, record, &ring, 0) != 0 || !record->active) return 0;
  const WAVEFORMATEX& format = record->format;
  const std::uint32_t second = format.nAvgBytesPerSec;
  const std::uint32_t block = format.nBlockAlign;
  const std::uint32_t ringBytes = record->ringBytes;
  const RefillSizes sizes = SizesOf(format);
  UpdateStreamSoundPosition(handle, -1);
  DWORD cursor = 0;
  if (GetSoundBufferCursor(ring, &cursor) != 0) return -1;

  std::uint32_t bytes = sizes.eighth;
  if (record->endReached) {
    // The end counts once the cursor has moved past the end mark, checked
    // from where it stood the last time, so the ring's wrap cannot hide it.
    if (CursorPassed(record->cursorAtEnd, cursor, record->endMark)) {
      StopSoundBuffer(ring);
      ResetStreamPosition(record);
      record->endReached = 0;
      return 0;
    }
    record->cursorAtEnd = cursor;
    // Silence is written only ahead of a moving cursor: a sound that ended
    // in its first fill keeps its data until it plays.
    if (GetSoundBufferPlaying(ring) != 1) return 0;
  } else if (GetSoundBufferPlaying(ring) != 1) {
    if (record->writePosition != kRingNotFilled) return 0;
    bytes = sizes.firstFill;
  } else {
    std::int64_t write = record->writePosition;
    std::int64_t play = cursor;
    if (record->writePosition < record->fillGuard) {
      if (play < write) play += ringBytes;
      write += ringBytes;
    }
    const std::int64_t lead512 = ((write - play) << 9) / second;
    if (lead512 < 192) bytes = static_cast<std::uint32_t>((((192 - lead512) * second >> 9) / block) * block);
  }
  const bool firstFill = record->writePosition == kRingNotFilled;
  if (!firstFill && CursorInsideWrittenStretch(record->writePosition, record->fillGuard, cursor)) return -1;
  bytes = std::min(bytes, ringBytes);
  if (bytes == 0) return 0;

  const auto start = static_cast<std::uint32_t>(firstFill ? 0 : record->writePosition);
  LockedRegion region{start, ringBytes, {}, {}, {}};
  void* parts[2] = {};
  DWORD partBytes[2] = {};
  if (LockSoundBuffer(ring, start, bytes, &parts[0], &partBytes[0], &parts[1], &partBytes[1]) != 0) return -1;
  for (int i = 0; i < 2; ++i) {
    region.part[i] = static_cast<BYTE*>(parts[i]);
    region.bytes[i] = region.left[i] = parts[i] != nullptr ? partBytes[i] : 0;
  }
  std::uint32_t written = 0;
  if (record->endReached) {
    WriteSilence(&region, bytes, SilenceByte(format));
    written = bytes;
  } else {
    written = FillFromSources(record, &region, bytes, cursor);
  }
  UnlockSoundBuffer(ring, parts[0], partBytes[0], parts[1], partBytes[1]);
  if (firstFill) {
    record->writePosition = static_cast<std::int32_t>(written % ringBytes);
    record->fillGuard = 0;
  } else {
    std::uint32_t write = static_cast<std::uint32_t>(record->writePosition) + written;
    if (write >= ringBytes) write -= ringBytes;
    record->writePosition = static_cast<std::int32_t>(write);
    std::int64_t guard = std::int64_t{write} - FillGuardBytes(format);
    if (guard < 0) guard += ringBytes;
    record->fillGuard = static_cast<std::int32_t>(guard);
  }
  return 0;
}
