// A secondary buffer: PCM samples the application writes through Lock,
// played by the device's mixer. Released, it leaves the mixer and stops.
#pragma once

#include "ole32/com_object.h"
#include "dsound/sound_device.h"
#include "platform/dsound.h"

namespace wqplat {

class SecondarySoundBuffer final : public ComObject<D_IDirectSoundBuffer, IID_IDirectSoundBuffer> {
 public:
  // `flags` are the creation's D_DSBCAPS_ flags: the controls offered.
  SecondarySoundBuffer(std::shared_ptr<SoundDevice> device, SampleBytes samples, VoiceFormat format,
                       DWORD flags);
  ~SecondarySoundBuffer() override;

  // Over the same samples, stopped at 0, with this one's volume, pan and
  // frequency.
  SecondarySoundBuffer* Duplicate();

  HRESULT GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) override;
  HRESULT GetStatus(LPDWORD status) override;
  HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1, LPVOID* region2,
               LPDWORD bytes2, DWORD flags) override;
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
  HRESULT SetCurrentPosition(DWORD position) override;
  HRESULT SetFormat(LPCWAVEFORMATEX) override;
  HRESULT SetVolume(LONG volume) override;
  HRESULT SetPan(LONG pan) override;
  HRESULT SetFrequency(DWORD frequency) override;
  HRESULT Stop() override;
  HRESULT Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) override;

 private:
  DWORD Bytes() const { return static_cast<DWORD>(voice_.samples->size()); }
  // The write cursor's lead over the play cursor, in bytes.
  DWORD WriteLead() const;

  std::shared_ptr<SoundDevice> device_;
  DWORD flags_;
  SoundVoice voice_;
};

}  // namespace wqplat
