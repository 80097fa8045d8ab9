// The primary buffer: the device's mixing format. Its samples are the
// mixer's own, so it cannot be locked or positioned.
#pragma once

#include "ole32/com_object.h"
#include "dsound/sound_device.h"
#include "platform/dsound.h"

namespace wqplat {

class PrimarySoundBuffer final : public ComObject<D_IDirectSoundBuffer, IID_IDirectSoundBuffer> {
 public:
  explicit PrimarySoundBuffer(std::shared_ptr<SoundDevice> device) : device_(std::move(device)) {}

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
};

}  // namespace wqplat
