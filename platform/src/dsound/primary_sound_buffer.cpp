#include "dsound/primary_sound_buffer.h"

namespace wqplat {

HRESULT PrimarySoundBuffer::GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) {
  if (play_cursor == nullptr && write_cursor == nullptr) return D_DSERR_INVALIDPARAM;
  if (play_cursor != nullptr) *play_cursor = 0;
  if (write_cursor != nullptr) *write_cursor = 0;
  return D_DS_OK;
}

HRESULT PrimarySoundBuffer::GetStatus(LPDWORD status) {
  if (status == nullptr) return D_DSERR_INVALIDPARAM;
  *status = playing_ ? D_DSBSTATUS_PLAYING | D_DSBSTATUS_LOOPING : 0;
  return D_DS_OK;
}

HRESULT PrimarySoundBuffer::Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) {
  return D_DSERR_PRIOLEVELNEEDED;
}

// The mixer runs whether or not the primary buffer plays; playing it only
// shows in its status.
HRESULT PrimarySoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
  if (reserved != 0 || priority != 0 || (flags & D_DSBPLAY_LOOPING) == 0)
    return D_DSERR_INVALIDPARAM;
  playing_ = true;
  return D_DS_OK;
}

HRESULT PrimarySoundBuffer::SetCurrentPosition(DWORD) { return D_DSERR_INVALIDCALL; }

HRESULT PrimarySoundBuffer::SetFormat(LPCWAVEFORMATEX format) {
  if (device_->cooperative_level < D_DSSCL_PRIORITY) return D_DSERR_PRIOLEVELNEEDED;
  const std::optional<VoiceFormat> mixing = PlayableFormat(format);
  if (!mixing) return D_DSERR_BADFORMAT;
  device_->SetFormat(*mixing);
  return D_DS_OK;
}

HRESULT PrimarySoundBuffer::SetVolume(LONG) { return D_DSERR_CONTROLUNAVAIL; }
HRESULT PrimarySoundBuffer::SetPan(LONG) { return D_DSERR_CONTROLUNAVAIL; }
HRESULT PrimarySoundBuffer::SetFrequency(DWORD) { return D_DSERR_CONTROLUNAVAIL; }

HRESULT PrimarySoundBuffer::Stop() {
  playing_ = false;
  return D_DS_OK;
}

HRESULT PrimarySoundBuffer::Unlock(LPVOID, DWORD, LPVOID, DWORD) { return D_DSERR_INVALIDCALL; }

}  // namespace wqplat
