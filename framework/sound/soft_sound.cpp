// Software-sound handles: PCM data, and players that stream queued PCM
// into a DirectSound buffer. Nothing in this system creates them; the
// player feed runs for whatever the player list holds, and the deletes
// empty the table at sound start and end.
#include <algorithm>
#include <cstring>

#include "WqLib.h"
#include "core/base/ring_buffer.h"
#include "core/base/tracked_allocator.h"
#include "sound/handle_slots.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound/sound_tables.h"
#include "sound/stream_sound_ring.h"

namespace {

constexpr int kSoftSoundSlotCount = 8192;
constexpr std::int32_t kSoftSoundData = 0;
constexpr std::int32_t kSoftSoundPlayer = 1;
constexpr std::uint32_t kNoSilenceMark = 0xFFFFFFFFu;

struct SoftSoundRecord {
  std::uint32_t check;
  std::int32_t kind;
  WAVEFORMATEX format;
  ListNode node;
  void* data;
  std::int32_t queuedSamples;
  RingBuffer queue;
  SoundBuffer buffer;
  std::uint32_t bufferBytes;
  std::uint32_t writePosition;
  std::uint32_t silenceMark;
  std::uint32_t lastCursor;
  std::int32_t silenceReached;
  std::uint32_t writeLead;
  std::int32_t active;
};

struct SoftSoundTable {
  SoftSoundRecord* slots[kSoftSoundSlotCount];
  int live;
  int hint;
};

SoftSoundTable g_softSounds{};

// Whether `cursor` lies in the ring stretch from `from` forward to `to`.
bool InStretch(std::uint32_t from, std::uint32_t to, std::uint32_t cursor, std::uint32_t ring) {
  return RingDistance(from, cursor, ring) <= RingDistance(from, to, ring);
}

void FeedSoftSoundPlayer(SoftSoundRecord* player) {
  SoundLockGuard lock;
  if (!player->active || player->format.nBlockAlign == 0 || player->bufferBytes == 0) return;
  const std::uint32_t ring = player->bufferBytes;
  DWORD cursor = 0;
  if (GetSoundBufferCursor(&player->buffer, &cursor) != 0) return;
  if (player->silenceMark != kNoSilenceMark && !player->silenceReached) {
    if (CursorPassed(player->lastCursor, cursor, player->silenceMark)) {
      player->silenceReached = 1;
    } else {
      player->lastCursor = cursor;
    }
  }
  const std::uint32_t leadStart = (player->writePosition + ring - player->writeLead % ring) % ring;
  if (!InStretch(leadStart, player->writePosition, cursor, ring)) return;
  const std::uint32_t block = player->format.nBlockAlign;
  const std::uint32_t dueBlocks = (RingDistance(leadStart, cursor, ring) + player->writeLead) / block;
  if (dueBlocks == 0) return;
  void* region[2] = {};
  DWORD bytes[2] = {};
  if (LockSoundBuffer(&player->buffer, player->writePosition, std::min(dueBlocks * block, ring), &region[0],
                      &bytes[0], &region[1], &bytes[1]) != 0) {
    return;
  }
  const std::uint32_t copyBlocks =
      std::min<std::uint32_t>(dueBlocks, static_cast<std::uint32_t>(std::max(player->queuedSamples, 0)));
  std::uint32_t copyBytes = copyBlocks * block;
  const BYTE silence = player->format.wBitsPerSample == 8 ? 127 : 0;
  for (int part = 0; part < 2; ++part) {
    if (region[part] == nullptr) continue;
    auto* out = static_cast<BYTE*>(region[part]);
    const std::uint32_t fromQueue = std::min<std::uint32_t>(copyBytes, bytes[part]);
    RingBufferRead(&player->queue, out, static_cast<int>(fromQueue), 0);
    std::memset(out + fromQueue, silence, bytes[part] - fromQueue);
    copyBytes -= fromQueue;
  }
  player->queuedSamples -= static_cast<std::int32_t>(copyBlocks);
  const std::uint32_t written = bytes[0] + bytes[1];
  if (copyBlocks < dueBlocks && player->silenceMark == kNoSilenceMark) {
    player->silenceMark = (player->writePosition + copyBlocks * block) % ring;
  } else if (player->silenceReached && copyBlocks > 0) {
    player->silenceMark = kNoSilenceMark;
    player->silenceReached = 0;
  }
  UnlockSoundBuffer(&player->buffer, region[0], bytes[0], region[1], bytes[1]);
  player->writePosition = (player->writePosition + written) % ring;
}

}  // namespace

int DeleteSoftSoundHandle(int handle, int kind) {
  SoundLockGuard lock;
  SoftSoundRecord* record =
      FindSlotRecord(g_softSounds.slots, kSoftSoundSlotCount, kSoftSoundHandleKind, handle);
  if (record == nullptr || record->kind != kind) return -1;
  const int slot = handle & kHandleIndexMask;
  if (kind == kSoftSoundData) {
    TrackedFree(record->data);
  } else {
    RingBufferFree(&record->queue);
    if (record->buffer.valid) ReleaseSoundBuffer(&record->buffer);
    RemoveListNode(&record->node);
  }
  TrackedFree(record);
  g_softSounds.slots[slot] = nullptr;
  --g_softSounds.live;
  LowerSlotHint(g_softSounds.slots, slot, &g_softSounds.hint);
  return 0;
}

namespace {

int DeleteAllOfKind(std::int32_t kind) {
  for (int slot = 0; slot < kSoftSoundSlotCount; ++slot) {
    const SoftSoundRecord* record = g_softSounds.slots[slot];
    if (record != nullptr && record->kind == kind)
      DeleteSoftSoundHandle(MakeSlotHandle(kSoftSoundHandleKind, record->check, slot), kind);
  }
  return 0;
}

}  // namespace

int DeleteAllSoftSoundData() { return DeleteAllOfKind(kSoftSoundData); }
int DeleteAllSoftSoundPlayers() { return DeleteAllOfKind(kSoftSoundPlayer); }

void FeedAllSoftSoundPlayers() {
  SoundSystemState& sound = SoundSystem();
  for (ListNode* node = sound.playerHead.next; node != &sound.playerEnd; node = node->next)
    FeedSoftSoundPlayer(static_cast<SoftSoundRecord*>(node->owner));
}

int UpdateSoftSoundPlayers() {
  if (!SoundStarted()) return -1;
  SoundLockGuard lock;
  FeedAllSoftSoundPlayers();
  return 0;
}
