// The table of sound handles: adding, finding and deleting sound records.
#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "sound/handle_slots.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"

namespace {

struct SoundHandleTable {
  SoundRecord* slots[kSoundSlotCount];
  int live;
  int hint;
  std::uint32_t nextCheck;
};

SoundHandleTable g_sounds{};

int MakeHandle(std::uint32_t check, int slot) { return MakeSlotHandle(kSoundHandleKind, check, slot); }

int FreeSlot() {
  if (g_sounds.hint < kSoundSlotCount) return g_sounds.hint;
  for (int slot = 0; slot < kSoundSlotCount; ++slot) {
    if (g_sounds.slots[slot] == nullptr) return slot;
  }
  return -1;
}

void ReleasePcmRecord(SoundRecord* record) {
  for (SoundBuffer& buffer : record->buffers) {
    if (buffer.valid) ReleaseSoundBuffer(&buffer);
  }
  if (record->pcmReferences != nullptr && --*record->pcmReferences == 0) {
    TrackedFree(record->pcm);
    TrackedFree(record->pcmReferences);
  }
  record->pcm = nullptr;
  record->pcmReferences = nullptr;
}

}  // namespace

SoundRecord* FindSoundRecord(int handle) {
  return FindSlotRecord(g_sounds.slots, kSoundSlotCount, kSoundHandleKind, handle);
}

int SoundHandleCount() {
  SoundLockGuard lock;
  return g_sounds.live;
}

int AddSoundData(int requestedHandle) {
  SoundLockGuard lock;
  int slot = -1;
  std::uint32_t check = 0;
  bool requested = false;
  if (requestedHandle >= 0 && (requestedHandle & kHandleIndexMask) < kSoundSlotCount &&
      g_sounds.slots[requestedHandle & kHandleIndexMask] == nullptr) {
    slot = requestedHandle & kHandleIndexMask;
    check = HandleCheck(requestedHandle);
    requested = true;
  } else {
    if (g_sounds.live >= kSoundSlotCount) return LogWrite("サウンドの数が許容量を越えました\n");
    slot = FreeSlot();
    if (slot < 0) return LogWrite("サウンドの数が許容量を越えました\n");
  }
  auto* record = static_cast<SoundRecord*>(TrackedAllocZero(sizeof(SoundRecord), __FILE__, __LINE__));
  if (record == nullptr) return LogWrite("メモリ領域の確保に失敗しました in AddSoundData");
  if (!requested) {
    check = g_sounds.nextCheck;
    g_sounds.nextCheck = (g_sounds.nextCheck + 1) % kHandleCheckLimit;
  }
  record->check = check;
  record->owner = -1;
  record->currentUser = -1;
  record->writePosition = kRingNotFilled;
  record->fillGuard = -1;
  g_sounds.slots[slot] = record;
  ++g_sounds.live;
  if (g_sounds.hint <= slot) g_sounds.hint = slot + 1;
  if (g_sounds.live > g_sounds.hint) g_sounds.hint = g_sounds.live;
  return MakeHandle(check, slot);
}

int DeleteSoundHandleRecord(int handle) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr) return -1;
  if (record->stream) {
    StopStreamSound(handle);
  } else {
    StopSoundHandle(handle);
  }
  if (!record->stream) {
    ReleasePcmRecord(record);
  } else {
    SoundRecord* owner = record->owner != -1 ? FindSoundRecord(record->owner) : nullptr;
    if (owner != nullptr) {
      --owner->shareCount;
      if (owner->deletePending && owner->shareCount == 0) DeleteSoundHandleRecord(record->owner);
    }
    if (record->shareCount != 0) {
      record->deletePending = 1;
      return 0;
    }
    ReleaseStreamSoundRecord(record);
  }
  const int slot = handle & kHandleIndexMask;
  TrackedFree(record);
  g_sounds.slots[slot] = nullptr;
  --g_sounds.live;
  LowerSlotHint(g_sounds.slots, slot, &g_sounds.hint);
  return 0;
}

int DeleteSoundHandle(int handle, int /*unused*/) {
  if (!SoundStarted()) return -1;
  return DeleteSoundHandleRecord(handle);
}

int DeleteAllSoundHandles() {
  SoundLockGuard lock;
  for (int slot = 0; slot < kSoundSlotCount; ++slot) {
    SoundRecord* record = g_sounds.slots[slot];
    if (record != nullptr) DeleteSoundHandleRecord(MakeHandle(record->check, slot));
  }
  // A record whose delete waits for its sharers went with the last of them.
  return 0;
}
