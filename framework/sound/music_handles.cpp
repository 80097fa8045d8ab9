// Music handles: MIDI music through MCI, or DirectMusic segments in the
// DirectMusic mode. Nothing in this system creates one, so the table stays
// empty; its updates, stops and deletes run all the same, and the MCI
// notification loops or closes the device.
#include <cstring>

#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "platform/mmsystem.h"
#include "sound/handle_slots.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound/sound_tables.h"

namespace {

constexpr int kMusicSlotCount = 256;
constexpr int kStopMessageRounds = 5;

struct MusicRecord {
  std::uint32_t check;
  std::int32_t playing;
  std::int32_t started;
  void* data;
  std::uint32_t dataBytes;
  D_IDirectMusicSegment8* segment;  // DirectMusic mode
};

struct MusicState {
  MusicRecord* slots[kMusicSlotCount];
  int live;
  int hint;
  MCIDEVICEID device;
  std::int32_t looping;
  std::int32_t mciPlaying;
  char midiFile[MAX_PATH];
  std::int32_t midiFileExists;
  int keptHandle;  // deleted at library end; nothing sets it here
  std::int32_t keptIsMusic;
};

MusicState g_music{};

using MciSendCommandFunction = MCIERROR (*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);

MCIERROR SendMci(UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
  const auto send = RuntimeEntry<MciSendCommandFunction>(kRuntimeWinmm, "mciSendCommandA");
  return send == nullptr ? MCIERR_CANNOT_LOAD_DRIVER : send(g_music.device, message, flags, parameters);
}

MusicRecord* FindMusicRecord(int handle) {
  return FindSlotRecord(g_music.slots, kMusicSlotCount, kMusicHandleKind, handle);
}

}  // namespace

int CheckMusicHandlePlaying(int handle) {
  MusicRecord* record = SoundStarted() ? FindMusicRecord(handle) : nullptr;
  if (record == nullptr) return -1;
  return SoundSystem().musicMode == 1 ? record->playing : g_music.mciPlaying;
}

// DirectMusic mode: a segment counts as started once it has been seen
// playing, and from then on plays as long as the performance says so.
int UpdateMusicPlayState() {
  SoundSystemState& sound = SoundSystem();
  if (!SoundStarted()) return -1;
  if (sound.musicMode != 1) return 0;
  for (MusicRecord* record : g_music.slots) {
    if (record == nullptr || !record->playing) continue;
    const bool playing = sound.performance->IsPlaying(record->segment, nullptr) == S_OK;
    if (record->started) {
      record->playing = playing;
    } else if (playing) {
      record->started = 1;
    }
  }
  return 0;
}

int HandleMusicMciNotify(WPARAM, LPARAM) {
  if (g_music.looping) {
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(WindowSystem().mainWindow);
    play.dwFrom = 0;
    SendMci(MCI_PLAY, MCI_NOTIFY | MCI_FROM, reinterpret_cast<DWORD_PTR>(&play));
    g_music.mciPlaying = 1;
  } else if (g_music.mciPlaying) {
    SendMci(MCI_CLOSE, 0, 0);
    g_music.mciPlaying = 0;
  }
  return 0;
}

void DeleteTemporaryMidiFile() {
  if (!g_music.midiFileExists) return;
  DeleteFileA(g_music.midiFile);
  g_music.midiFileExists = 0;
}

int StopMusicHandle(int handle) {
  MusicRecord* record = SoundStarted() ? FindMusicRecord(handle) : nullptr;
  if (record == nullptr) return -1;
  g_music.looping = 0;
  SoundSystemState& sound = SoundSystem();
  if (sound.musicMode == 1) {
    sound.performance->Stop(record->segment, nullptr, 0, 0);
  } else {
    HandleMusicMciNotify(0, 0);
    for (int i = 0; i < kStopMessageRounds; ++i) ProcessWindowMessages();
  }
  DeleteTemporaryMidiFile();
  record->playing = 0;
  record->started = 0;
  return 0;
}

int DeleteMusicHandle(int handle) {
  MusicRecord* record = SoundStarted() ? FindMusicRecord(handle) : nullptr;
  if (record == nullptr) return -1;
  if (record->playing) StopMusicHandle(handle);
  SoundSystemState& sound = SoundSystem();
  if (record->segment != nullptr) {
    record->segment->Unload(sound.performance);
    sound.musicLoader->ReleaseObjectByUnknown(record->segment);
    record->segment->Release();
  }
  if (record->data != nullptr) std::memset(record->data, 0, record->dataBytes);
  TrackedFree(record->data);
  TrackedFree(record);
  const int slot = handle & kHandleIndexMask;
  g_music.slots[slot] = nullptr;
  --g_music.live;
  LowerSlotHint(g_music.slots, slot, &g_music.hint);
  return 0;
}

int DeleteAllMusicHandles() {
  for (int slot = 0; slot < kMusicSlotCount; ++slot) {
    MusicRecord* record = g_music.slots[slot];
    if (record != nullptr) DeleteMusicHandle(MakeSlotHandle(kMusicHandleKind, record->check, slot));
  }
  return 0;
}

int TerminateSoundData() {
  if (g_music.keptHandle == 0) return 0;
  if (g_music.keptIsMusic) {
    DeleteMusicHandle(g_music.keptHandle);
  } else {
    StopSoundHandle(g_music.keptHandle);
    DeleteSoundHandle(g_music.keptHandle, 0);
  }
  g_music.keptHandle = 0;
  return 0;
}
