// The sound subsystem's one set of state: the DirectSound objects, the
// audio compression manager's entry points, the sound lock, the lists of
// stream sounds and software-sound players, the load settings and the
// streaming thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/base/linked_list.h"
#include "platform/dmusic.h"
#include "platform/dsound.h"
#include "platform/msacm.h"
#include "platform/windows.h"

struct AcmEntryPoints {
  decltype(&acmStreamOpen) streamOpen;
  decltype(&acmFormatSuggest) formatSuggest;
  decltype(&acmStreamClose) streamClose;
  decltype(&acmMetrics) metrics;
  decltype(&acmStreamPrepareHeader) prepareHeader;
  decltype(&acmStreamConvert) convert;
  decltype(&acmStreamUnprepareHeader) unprepareHeader;
  decltype(&acmStreamSize) streamSize;
};

enum SoundThreadStop : std::int32_t { kThreadRunning = 0, kThreadStopAsked = 1, kThreadStopped = 2 };

struct SoundSystemState {
  D_IDirectSound* directSound;  // null: sound not started
  D_IDirectSoundBuffer* primaryBuffer;
  D_IDirectSoundBuffer* silentBuffer;
  std::int32_t musicMode;  // 0 DirectSound with MCI music; 1 DirectMusic, never selected
  D_IDirectMusicLoader8* musicLoader;
  D_IDirectMusicPerformance8* performance;
  std::int32_t masterVolume;  // hundredths of a decibel
  HMODULE acmModule;
  AcmEntryPoints acm;
  CRITICAL_SECTION lock;
  std::int32_t lockCreated;
  ListNode streamHead, streamEnd;
  ListNode playerHead, playerEnd;
  std::int32_t createMode;  // 0 buffers, 2 stream from a file image, 3 stream from the file
  std::uint32_t decoderSkipMask;
  std::int32_t oggSampleWidth;
  HANDLE thread;
  DWORD threadId;
  std::atomic<std::int32_t> threadStop;
};

SoundSystemState& SoundSystem();

// True while sound is started; every public operation checks it first.
inline bool SoundStarted() { return SoundSystem().directSound != nullptr; }

// The sound lock, recursive within a thread. A guard does nothing when the
// lock does not exist (sound not started).
class SoundLockGuard {
 public:
  SoundLockGuard();
  ~SoundLockGuard();
  SoundLockGuard(const SoundLockGuard&) = delete;
  SoundLockGuard& operator=(const SoundLockGuard&) = delete;

 private:
  bool held_;
};

// Set by the movie code while it loads a movie's Vorbis sound.
extern int MovieSoundFlag;
