// Sound handles and the records behind them: the DirectSound buffers of a
// sound held as PCM, or the ring buffer and sources of a stream sound.
#pragma once

#include <cstdint>

#include "core/base/linked_list.h"
#include "core/files/stream_functions.h"
#include "platform/dsound.h"
#include "sound/sound_decoder.h"

constexpr int kSoundHandleKind = 0x10000000;
constexpr int kSoundSlotCount = 32768;
constexpr int kMaxSoundBuffers = 10;
constexpr int kMaxStreamSources = 3;
// A sound of at most this many seconds is held as PCM; a longer one streams.
constexpr std::uint32_t kLongestBufferedSeconds = 180;
// The write position of a ring buffer that was never filled.
constexpr std::int32_t kRingNotFilled = -800;

// Play types of PlaySoundHandle.
constexpr int kPlayAndWait = 0;
constexpr int kPlayBackground = 1;
constexpr int kPlayLoop = 3;

// Source types of a stream sound.
constexpr std::int32_t kSourceDecodedWave = 0;
constexpr std::int32_t kSourceFileImage = 2;
constexpr std::int32_t kSourceCallerStream = 3;
constexpr std::uint8_t kRepeatForever = 255;

struct SoundBuffer {
  std::int32_t valid;
  D_IDirectSoundBuffer* buffer;
};

struct StreamSoundSource {
  std::uint8_t repeatCount;
  std::int32_t type;
  void* data;
  std::uint32_t dataBytes;
  StreamSource stream;  // over the data block (types 0 and 2)
  std::int32_t loopStartSample;
  std::int32_t loopEndSample;  // -1 = none
  SoundDecoder decoder;
};

struct SoundRecord {
  std::uint32_t check;
  SoundBuffer buffers[kMaxSoundBuffers];
  WAVEFORMATEX format;
  std::int32_t stream;
  std::int32_t playType;
  int owner;  // the stream sound whose ring buffer this one shares; -1 none
  std::int32_t shareCount;
  int currentUser;  // who plays this record's ring buffer; -1 none
  std::int32_t deletePending;
  std::uint32_t ringBytes;
  std::int32_t writePosition;
  std::int32_t fillGuard;
  StreamSoundSource sources[kMaxStreamSources + 1];
  std::uint8_t sourceOwned[kMaxStreamSources + 1];
  std::int32_t sourceCount;
  std::int32_t currentSource;
  std::int32_t repeatsDone;
  std::int32_t bytesRead;
  std::int32_t totalSamples;
  std::int32_t playedBytes;
  std::uint32_t lastPlayCursor;
  std::uint8_t active;
  std::uint8_t endReached;
  std::uint8_t restartPending;
  std::uint8_t lastSourceDone;
  std::int32_t restartBase;
  std::uint32_t endMark;
  std::uint32_t cursorAtEnd;
  std::uint32_t restartMark;
  ListNode streamNode;
  std::uint32_t pcmBytes;
  void* pcm;
  std::int32_t* pcmReferences;
  std::int32_t bufferFlags[kMaxSoundBuffers];
  std::int32_t bufferCount;
  std::int32_t nextBuffer;
  std::int32_t volume;
  std::int32_t pan;
  std::int32_t frequency;
  std::uint8_t pendingVolumeSet, pendingPanSet, pendingFrequencySet;
  std::int32_t pendingVolume, pendingPan, pendingFrequency;
};

// The record of a valid sound handle, or null (without logging).
SoundRecord* FindSoundRecord(int handle);
int AddSoundData(int requestedHandle);
int DeleteSoundHandleRecord(int handle);
// The number of live sound handles.
int SoundHandleCount();
int CreateSoundHandleBuffers(int sourceHandle, const WAVEFORMATEX* format, std::uint32_t bytes, int stream,
                             int count, int handle);
// A stream sound's ring: one second of the format in whole blocks.
std::uint32_t StreamRingBytes(const WAVEFORMATEX& format);
int LoadFileImage(const char* name, void** image, std::uint32_t* size);

// SoundBuffer operations; -1 when the buffer is not (or, for the two
// creations, already) valid.
int CreateSoundBuffer(SoundBuffer* buffer, const D_DSBUFFERDESC* description);
int DuplicateSoundBuffer(SoundBuffer* buffer, const SoundBuffer* source);
int ReleaseSoundBuffer(SoundBuffer* buffer);
int PlaySoundBuffer(SoundBuffer* buffer, int loop);
int StopSoundBuffer(SoundBuffer* buffer);
// 1 playing, 0 not, -1 when the status cannot be read.
int GetSoundBufferPlaying(SoundBuffer* buffer);
int GetSoundBufferCursor(SoundBuffer* buffer, DWORD* playCursor);
int LockSoundBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                    void** region2, DWORD* bytes2);
int UnlockSoundBuffer(SoundBuffer* buffer, void* region1, DWORD bytes1, void* region2, DWORD bytes2);
int SetSoundBufferVolume(SoundBuffer* buffer, LONG volume);
int SetSoundBufferPan(SoundBuffer* buffer, LONG pan);
int SetSoundBufferFrequency(SoundBuffer* buffer, DWORD frequency);
int SetSoundBufferPosition(SoundBuffer* buffer, DWORD position);

// Applies volume, pan and frequency to a buffer before a play, the pending
// values first (their flags then clear).
void ApplySoundSettings(SoundRecord* record, SoundBuffer* buffer);
// Play type 0: processes messages until the sound ends or the program quits.
void WaitWhileSoundPlays(int handle);
std::int64_t SamplesToMilliseconds(std::int64_t samples, std::int64_t rate);

// Stream sounds.
int AddStreamSoundFile(const char* name, int repeat, int handle, int type, int shareHandle);
int AddStreamSoundMemory(const void* image, std::uint32_t size, int repeat, int handle, int type,
                         int shareHandle);
int AcquireStreamSoundBuffer(int handle, SoundRecord* record, SoundBuffer** buffer, int force);
int PrefillStreamSound(int handle);
// Back to the start of the first source, inactive, nothing played.
void ResetStreamPosition(SoundRecord* record);
int RefillStreamSound(int handle);
int PlayStreamSoundHandle(int handle, int playType, int fromTop);
int StopStreamSound(int handle);
int CheckStreamSoundPlaying(int handle);
int GetStreamSoundCurrentTime(int handle);
int UpdateStreamSoundPosition(int handle, std::int64_t cursor);
// Releases a stream record's sources and ring buffer (record deletion).
void ReleaseStreamSoundRecord(SoundRecord* record);
DWORD SoundStreamThread(LPVOID);
