// Starting and ending sound in the DirectMusic music mode: the loader, the
// performance and its ports, and the DirectSound object the performance
// makes. Where DirectMusic is missing, start-up falls back to DirectSound.
#include "WqLib.h"
#include "core/startup/runtime_libraries.h"
#include "sound/sound_direct_music.h"
#include "sound/sound_state.h"

namespace {

using CoCreateInstanceFunction = HRESULT (*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

constexpr DWORD kPortCapsBytes = 308;
constexpr DWORD kAudioParamsBytes = 40;
constexpr DWORD kPerformanceChannels = 64;
constexpr DWORD kMusicSampleRate = 44100;
constexpr int kDescriptionBytes = 256;

HRESULT Create(REFCLSID classId, DWORD context, REFIID interfaceId, void** object) {
  const auto coCreateInstance = RuntimeEntry<CoCreateInstanceFunction>(kRuntimeOle32, "CoCreateInstance");
  *object = nullptr;
  if (coCreateInstance == nullptr) return REGDB_E_CLASSNOTREG;
  return coCreateInstance(classId, nullptr, context, interfaceId, object);
}

template <typename Interface>
void ReleaseAndClear(Interface** object) {
  if (*object != nullptr) (*object)->Release();
  *object = nullptr;
}

void LogPorts(D_IDirectMusic8* music) {
  for (DWORD index = 0;; ++index) {
    D_DMUS_PORTCAPS caps{};
    caps.dwSize = kPortCapsBytes;
    if (music->EnumPort(index, &caps) != S_OK) break;
    char description[kDescriptionBytes] = {};
    WideCharToMultiByte(CP_ACP, 0, caps.wszDescription, -1, description, kDescriptionBytes - 1, nullptr,
                        nullptr);
    LogWriteFormat("%s  Device%d:%s ", caps.dwClass == D_DMUS_PC_OUTPUTCLASS ? "出力ポート" : "入力ポート",
                   static_cast<int>(index), description);
  }
}

// The DirectMusic objects that report the ports, released again.
int ReportPorts() {
  D_IDirectMusic* music = nullptr;
  if (Create(CLSID_DirectMusic, CLSCTX_INPROC_SERVER, IID_IDirectMusic, reinterpret_cast<void**>(&music)) !=
      S_OK)
    return LogWrite("DirectMusic オブジェクトの取得に失敗しました\n");
  D_IDirectMusic8* music8 = nullptr;
  if (music->QueryInterface(IID_IDirectMusic8, reinterpret_cast<void**>(&music8)) != S_OK) {
    music->Release();
    return LogWrite("DirectMusic8 オブジェクトの取得に失敗しました\n");
  }
  LogPorts(music8);
  music8->Release();
  music->Release();
  return 0;
}

}  // namespace

int StartDirectMusic() {
  SoundSystemState& sound = SoundSystem();
  LogWrite("DirectSound8 の初期化を行います\n");
  if (Create(CLSID_DirectMusicLoader, CLSCTX_INPROC, IID_IDirectMusicLoader8,
             reinterpret_cast<void**>(&sound.musicLoader)) != S_OK) {
    sound.musicLoader = nullptr;
    LogWrite("DirectMusicLoader8 オブジェクトの作成に失敗しました\n");
    LogWrite("前バージョンでの初期化処理に移ります\n");
    sound.musicMode = 0;
    return kFallBackToDirectSound;
  }
  int result = 0;
  if (Create(CLSID_DirectMusicPerformance, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
             reinterpret_cast<void**>(&sound.performance)) != S_OK) {
    sound.performance = nullptr;
    result = LogWrite("DirectMusicPerformance オブジェクトの作成に失敗しました\n");
  } else if (ReportPorts() != 0) {
    result = -1;
  } else {
    D_DMUS_AUDIOPARAMS params{};
    params.dwSize = kAudioParamsBytes;
    params.fInitNow = TRUE;
    params.dwValidData = D_DMUS_AUDIOPARAMS_FEATURES | D_DMUS_AUDIOPARAMS_SAMPLERATE;
    params.dwFeatures = D_DMUS_AUDIOF_ALL;
    params.dwSampleRate = kMusicSampleRate;
    if (sound.performance->InitAudio(nullptr, &sound.directSound, nullptr,
                                     D_DMUS_APATH_SHARED_STEREOPLUSREVERB, kPerformanceChannels,
                                     D_DMUS_AUDIOF_ALL, &params) != S_OK) {
      sound.directSound = nullptr;
      result = LogWrite("DirectMusicPerformanceオブジェクトの初期化に失敗しました\n");
    } else {
      sound.performance->SetGlobalParam(GUID_PerfMasterVolume, &sound.masterVolume,
                                        sizeof sound.masterVolume);
    }
  }
  if (result != 0) EndDirectMusic();
  return result;
}

void EndDirectMusic() {
  SoundSystemState& sound = SoundSystem();
  if (sound.performance != nullptr) {
    sound.performance->Stop(nullptr, nullptr, 0, 0);
    sound.performance->CloseDown();
  }
  ReleaseAndClear(&sound.performance);
  ReleaseAndClear(&sound.musicLoader);
}
