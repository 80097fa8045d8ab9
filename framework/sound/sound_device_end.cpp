// Ending sound: the streaming thread first, then every table, the lock,
// the buffers, the DirectSound object and the audio compression manager.
#include "WqLib.h"
#include "core/window/message_pump.h"
#include "sound/sound_direct_music.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound/sound_tables.h"

namespace {

constexpr DWORD kThreadAnswerPollMs = 2;

void StopStreamThread() {
  SoundSystemState& sound = SoundSystem();
  if (sound.thread == nullptr) return;
  sound.threadStop = kThreadStopAsked;
  while (sound.threadStop != kThreadStopped) {
    ProcessWindowMessages();
    Sleep(kThreadAnswerPollMs);
  }
  CloseHandle(sound.thread);
  sound.thread = nullptr;
}

void StopAndRelease(D_IDirectSoundBuffer** buffer) {
  if (*buffer == nullptr) return;
  (*buffer)->Stop();
  (*buffer)->Release();
  *buffer = nullptr;
}

}  // namespace

int TerminateDirectSound() {
  SoundSystemState& sound = SoundSystem();
  if (sound.directSound == nullptr) return -1;
  StopStreamThread();
  FinishSoundCaptureFile();
  DeleteAllSoundHandles();
  DeleteAllSoftSoundData();
  DeleteAllSoftSoundPlayers();
  DeleteAllMusicHandles();
  DeleteTemporaryMidiFile();
  DeleteCriticalSection(&sound.lock);
  sound.lockCreated = 0;
  if (sound.musicMode == 1) EndDirectMusic();
  StopAndRelease(&sound.primaryBuffer);
  StopAndRelease(&sound.silentBuffer);
  sound.directSound->Release();
  sound.directSound = nullptr;
  if (sound.acmModule != nullptr) FreeLibrary(sound.acmModule);
  sound.acmModule = nullptr;
  sound.acm = AcmEntryPoints{};
  LogWrite("DirectSound の終了処理は正常に終了しました\n");
  return 0;
}
