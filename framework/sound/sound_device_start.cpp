// Starting sound: the sound lock, the audio compression manager, the
// DirectSound object with its primary format, the silent looping buffer,
// the capability report, empty tables and the streaming thread.
#include <algorithm>

#include "WqLib.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"
#include "sound/sound_direct_music.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound/sound_tables.h"

namespace {

using CoCreateInstanceFunction = HRESULT (*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

constexpr DWORD kClassContextAll = 7;
constexpr DWORD kHighestPrimaryRate = 44100;
constexpr DWORD kSilentBufferFlags = D_DSBCAPS_STATIC | D_DSBCAPS_GLOBALFOCUS;
constexpr DWORD kSilentBufferFrames = 100;

void LoadAcm() {
  SoundSystemState& sound = SoundSystem();
  if (sound.acmModule != nullptr) return;
  sound.acmModule = LoadLibraryA("msacm32.dll");
  if (sound.acmModule == nullptr) return;
  AcmEntryPoints& acm = sound.acm;
  auto entry = [&](auto* slot, const char* name) {
    *slot = reinterpret_cast<std::remove_reference_t<decltype(*slot)>>(GetProcAddress(sound.acmModule, name));
  };
  entry(&acm.formatSuggest, "acmFormatSuggest");
  entry(&acm.streamOpen, "acmStreamOpen");
  entry(&acm.streamClose, "acmStreamClose");
  entry(&acm.metrics, "acmMetrics");
  entry(&acm.prepareHeader, "acmStreamPrepareHeader");
  entry(&acm.convert, "acmStreamConvert");
  entry(&acm.unprepareHeader, "acmStreamUnprepareHeader");
  entry(&acm.streamSize, "acmStreamSize");
}

void ReleaseDirectSound() {
  SoundSystemState& sound = SoundSystem();
  if (sound.primaryBuffer != nullptr) sound.primaryBuffer->Release();
  sound.primaryBuffer = nullptr;
  sound.directSound->Release();
  sound.directSound = nullptr;
}

void SetPrimaryFormat() {
  SoundSystemState& sound = SoundSystem();
  D_DSCAPS caps{};
  caps.dwSize = sizeof caps;
  sound.directSound->GetCaps(&caps);
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = (caps.dwFlags & D_DSCAPS_PRIMARYSTEREO) ? 2 : 1;
  format.wBitsPerSample = (caps.dwFlags & D_DSCAPS_PRIMARY16BIT) ? 16 : 8;
  format.nSamplesPerSec = std::min<DWORD>(caps.dwMaxSecondarySampleRate, kHighestPrimaryRate);
  format.nBlockAlign = static_cast<WORD>(format.wBitsPerSample / 8 * format.nChannels);
  format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
  if (sound.primaryBuffer->SetFormat(&format) != D_DS_OK)
    LogWrite("DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました\n");
}

int StartDirectSound() {
  SoundSystemState& sound = SoundSystem();
  LogWrite("DirectSound の初期化を行います\n");
  LogWrite("DirectSound インターフェースの取得を行います....  ");
  const auto coCreateInstance = RuntimeEntry<CoCreateInstanceFunction>(kRuntimeOle32, "CoCreateInstance");
  if (coCreateInstance == nullptr ||
      coCreateInstance(CLSID_DirectSound, nullptr, kClassContextAll, IID_IDirectSound,
                       reinterpret_cast<LPVOID*>(&sound.directSound)) != S_OK) {
    sound.directSound = nullptr;
    return LogWrite("DirectSoundインターフェースの作成に失敗しました\n");
  }
  LogWrite("成功\n");
  LogWrite("引き続きインターフェースの初期化処理...  ");
  const HRESULT initialised = sound.directSound->Initialize(nullptr);
  if (initialised != D_DS_OK) {
    LogWrite("初期化に失敗しました\n");
    LogWriteFormat("エラーコード %x", static_cast<unsigned>(initialised));
    ReleaseDirectSound();
    return -1;
  }
  LogWrite("成功\n");
  if (sound.directSound->SetCooperativeLevel(GetDesktopWindow(), D_DSSCL_PRIORITY) != D_DS_OK) {
    ReleaseDirectSound();
    return LogWrite("DirectSoundの協調レベルの設定に失敗しました\n");
  }
  D_DSBUFFERDESC primary{};
  primary.dwSize = sizeof primary;
  primary.dwFlags = D_DSBCAPS_PRIMARYBUFFER;
  if (sound.directSound->CreateSoundBuffer(&primary, &sound.primaryBuffer, nullptr) != D_DS_OK) {
    sound.primaryBuffer = nullptr;
    ReleaseDirectSound();
    return LogWrite("DirectSoundのプライマリサウンドバッファの作成に失敗しました\n");
  }
  SetPrimaryFormat();
  return 0;
}

// Keeps the device busy with silence, so that it never stops and starts
// between sounds.
void StartSilentBuffer() {
  SoundSystemState& sound = SoundSystem();
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = 176400;
  D_DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = kSilentBufferFlags;
  description.dwBufferBytes = format.nBlockAlign * kSilentBufferFrames;
  description.lpwfxFormat = &format;
  if (sound.directSound->CreateSoundBuffer(&description, &sound.silentBuffer, nullptr) != D_DS_OK) {
    sound.silentBuffer = nullptr;
    LogWrite("無音バッファの作成に失敗しました");
    return;
  }
  void* region[2] = {};
  DWORD bytes[2] = {};
  if (sound.silentBuffer->Lock(0, description.dwBufferBytes, &region[0], &bytes[0], &region[1], &bytes[1],
                               0) != D_DS_OK) {
    LogWrite("無音バッファのロックに失敗しました");
    sound.silentBuffer->Release();
    sound.silentBuffer = nullptr;
    return;
  }
  for (int i = 0; i < 2; ++i) {
    if (region[i] != nullptr) std::fill_n(static_cast<BYTE*>(region[i]), bytes[i], BYTE{0});
  }
  sound.silentBuffer->Unlock(region[0], bytes[0], region[1], bytes[1]);
  sound.silentBuffer->Play(0, 0, D_DSBPLAY_LOOPING);
}

void StartStreamThread() {
  SoundSystemState& sound = SoundSystem();
  sound.thread = nullptr;
  sound.threadStop = kThreadRunning;
  if (WindowSystem().logicalProcessors <= 1) return;
  sound.thread = CreateThread(nullptr, 0, SoundStreamThread, nullptr, CREATE_SUSPENDED, &sound.threadId);
  if (sound.thread == nullptr) return;
  SetThreadPriority(sound.thread, THREAD_PRIORITY_TIME_CRITICAL);
  ResumeThread(sound.thread);
}

}  // namespace

int InitializeDirectSound() {
  SoundSystemState& sound = SoundSystem();
  if (sound.directSound != nullptr) return -1;
  if (!sound.lockCreated) {
    InitializeCriticalSection(&sound.lock);
    sound.lockCreated = 1;
  }
  LoadAcm();
  int started = sound.musicMode == 1 ? StartDirectMusic() : kFallBackToDirectSound;
  if (started == kFallBackToDirectSound) started = StartDirectSound();
  if (started != 0) {
    // Sound stays off; the lock goes with it.
    DeleteCriticalSection(&sound.lock);
    sound.lockCreated = 0;
    return -1;
  }
  StartSilentBuffer();
  InitLinkedList(&sound.streamHead, &sound.streamEnd);
  InitLinkedList(&sound.playerHead, &sound.playerEnd);
  sound.createMode = 0;
  sound.oggSampleWidth = 2;
  LogDirectSoundCapabilities();
  DeleteAllSoundHandles();
  DeleteAllSoftSoundData();
  DeleteAllSoftSoundPlayers();
  StartStreamThread();
  LogWrite("DirectSound の初期化は正常に終了しました\n");
  return 0;
}
