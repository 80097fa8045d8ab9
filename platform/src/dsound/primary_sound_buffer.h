// The primary buffer: the device's mixing format. Its samples are the
// mixer's own, so it cannot be locked or positioned. There is one per
// DirectSound object: released to a count of zero it stays alive while the
// object lives, and outlives the object only as long as references remain.
#pragma once

#include <mutex>

#include "ole32/com_object.h"
#include "dsound/sound_device.h"
#include "platform/dsound.h"

namespace wqplat {

class PrimarySoundBuffer final : public ComObject<D_IDirectSoundBuffer, IID_IDirectSoundBuffer> {
 public:
  explicit PrimarySoundBuffer(std::shared_ptr<SoundDevice> device) : device_(std::move(device)) {}

  ULONG AddRef() override;
  ULONG Release() override;
  // The DirectSound object ends: the buffer is freed now when nobody holds
  // it, else by its last Release.
  void DetachFromDevice();

  HRESULT GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) override;
  HRESULT GetStatus(LPDWORD status) override;
  HRESULT Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override;
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
  HRESULT SetCurrentPosition(DWORD) override;
  // Needs the priority cooperative level, as on the system it stands for.
  HRESULT SetFormat(LPCWAVEFORMATEX format) override;
  HRESULT SetVolume(LONG) override;
  HRESULT SetPan(LONG) override;
  HRESULT SetFrequency(DWORD) override;
  HRESULT Stop() override;
  HRESULT Unlock(LPVOID, DWORD, LPVOID, DWORD) override;

 private:
  std::shared_ptr<SoundDevice> device_;
  std::atomic<bool> playing_{false};
  std::mutex lifetime_lock_;
  ULONG references_ = 1;
  bool attached_ = true;
};

}  // namespace wqplat
