// The DirectSound object: opens the sound device and makes its buffers.
#pragma once

#include "ole32/com_object.h"
#include "dsound/sound_device.h"
#include "platform/dsound.h"

namespace wqplat {

class PrimarySoundBuffer;

class DirectSoundObject final : public ComObject<D_IDirectSound, IID_IDirectSound> {
 public:
  ~DirectSoundObject() override;

  HRESULT CreateSoundBuffer(D_LPCDSBUFFERDESC description, D_LPDIRECTSOUNDBUFFER* buffer,
                            LPUNKNOWN outer) override;
  HRESULT GetCaps(D_LPDSCAPS caps) override;
  HRESULT DuplicateSoundBuffer(D_LPDIRECTSOUNDBUFFER original,
                               D_LPDIRECTSOUNDBUFFER* duplicate) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD level) override;
  HRESULT Initialize(LPCGUID device) override;

 private:
  HRESULT CreateSecondaryBuffer(const D_DSBUFFERDESC& description, D_LPDIRECTSOUNDBUFFER* buffer);

  std::shared_ptr<SoundDevice> device_;  // null until initialised
  PrimarySoundBuffer* primary_ = nullptr;  // made on the first request, then shared
};

}  // namespace wqplat
