#include "dsound/primary_sound_buffer.h"

namespace wqplat {

ULONG PrimarySoundBuffer::AddRef() {
  std::lock_guard guard(lifetime_lock_);
  return ++references_;
}

ULONG PrimarySoundBuffer::Release() {
  bool free_now = false;
  ULONG left = 0;
  {
    std::lock_guard guard(lifetime_lock_);
    if (references_ > 0) --references_;
    left = references_;
    free_now = left == 0 && !attached_;
  }
  if (free_now) delete this;
  return left;
}

void PrimarySoundBuffer::DetachFromDevice() {
  bool free_now = false;
  {
    std::lock_guard guard(lifetime_lock_);
    attached_ = false;
    free_now = references_ == 0;
  }
  if (free_now) delete this;
}

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
  VoiceFormat mixing{};
  const HRESULT checked = CheckPlayableFormat(format, &mixing);
  if (FAILED(checked)) return checked;
  device_->SetFormat(mixing);
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
