// The capability report that sound start-up writes to the log: the
// devices DirectSoundEnumerateA names, the rates, memory and layouts.
#include "WqLib.h"
#include "sound/sound_state.h"
#include "sound/sound_tables.h"

namespace {

using EnumerateFunction = HRESULT (*)(D_LPDSENUMCALLBACKA, LPVOID);

const char* OkOrNo(DWORD flags, DWORD flag) { return (flags & flag) ? "OK" : "NO"; }

BOOL LogDirectSoundDevice(GUID*, LPCSTR description, LPCSTR module, LPVOID) {
  LogWriteFormat("モジュール名:%15s  ドライバ記述:%s ", module, description);
  return TRUE;
}

void LogCaps(const D_DSCAPS& caps) {
  LogWriteFormat("最大サンプリングレート:%.2fKHz 最小サンプリングレート:%.2fKHz ",
                 caps.dwMaxSecondarySampleRate / 1000.0, caps.dwMinSecondarySampleRate / 1000.0);
  LogWriteFormat("総サウンドメモリ領域:%.2fKB 空きサウンドメモリ領域:%.2fKB \n",
                 caps.dwTotalHwMemBytes / 1024.0, caps.dwFreeHwMemBytes / 1024.0);
  LogWrite("利用可能サンプリング精度\n");
  LogWriteFormat(" プライマリ １６bit = %s  ８bit = %s ", OkOrNo(caps.dwFlags, D_DSCAPS_PRIMARY16BIT),
                 OkOrNo(caps.dwFlags, D_DSCAPS_PRIMARY8BIT));
  LogWriteFormat(" セカンダリ １６bit = %s  ８bit = %s \n", OkOrNo(caps.dwFlags, D_DSCAPS_SECONDARY16BIT),
                 OkOrNo(caps.dwFlags, D_DSCAPS_SECONDARY8BIT));
  LogWrite("利用可能チャンネル\n");
  LogWriteFormat(" プライマリ MONO = %s  STEREO = %s ", OkOrNo(caps.dwFlags, D_DSCAPS_PRIMARYMONO),
                 OkOrNo(caps.dwFlags, D_DSCAPS_PRIMARYSTEREO));
  LogWriteFormat(" セカンダリ MONO = %s  STEREO = %s \n", OkOrNo(caps.dwFlags, D_DSCAPS_SECONDARYMONO),
                 OkOrNo(caps.dwFlags, D_DSCAPS_SECONDARYSTEREO));
}

}  // namespace

void LogDirectSoundCapabilities() {
  SoundSystemState& sound = SoundSystem();
  if (sound.directSound == nullptr) return;
  IncreaseLogIndent();
  D_DSCAPS caps{};
  caps.dwSize = sizeof caps;
  sound.directSound->GetCaps(&caps);
  LogWrite("DirectSound デバイスを列挙します\n");
  IncreaseLogIndent();
  HMODULE module = LoadLibraryA("DSOUND.DLL");
  if (module == nullptr) {
    LogWrite("DSOUND.DLL のロードに失敗しました\n");
    DecreaseLogIndent();
    DecreaseLogIndent();
    return;
  }
  const auto enumerate = reinterpret_cast<EnumerateFunction>(GetProcAddress(module, "DirectSoundEnumerateA"));
  if (enumerate == nullptr) {
    LogWrite("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました\n");
    FreeLibrary(module);
    DecreaseLogIndent();
    DecreaseLogIndent();
    return;
  }
  enumerate(LogDirectSoundDevice, nullptr);
  DecreaseLogIndent();
  LogCaps(caps);
  DecreaseLogIndent();
  FreeLibrary(module);
}
