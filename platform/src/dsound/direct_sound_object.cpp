#include "dsound/direct_sound_object.h"

#include <cstddef>
#include <new>

#include "dsound/primary_sound_buffer.h"
#include "dsound/secondary_sound_buffer.h"
#include "dsound/sound_device_choice.h"

namespace wqplat {
namespace {

// Descriptions of callers built before the 3D algorithm field also count.
constexpr DWORD kShortDescriptionBytes = offsetof(D_DSBUFFERDESC, guid3DAlgorithm);

constexpr DWORD kSecondaryControls =
    D_DSBCAPS_STATIC | D_DSBCAPS_LOCHARDWARE | D_DSBCAPS_LOCSOFTWARE | D_DSBCAPS_CTRLFREQUENCY |
    D_DSBCAPS_CTRLPAN | D_DSBCAPS_CTRLVOLUME | D_DSBCAPS_STICKYFOCUS | D_DSBCAPS_GLOBALFOCUS |
    D_DSBCAPS_GETCURRENTPOSITION2;

constexpr DWORD kAllFormatsAndChannels =
    D_DSCAPS_PRIMARYMONO | D_DSCAPS_PRIMARYSTEREO | D_DSCAPS_PRIMARY8BIT | D_DSCAPS_PRIMARY16BIT |
    D_DSCAPS_CONTINUOUSRATE | D_DSCAPS_SECONDARYMONO | D_DSCAPS_SECONDARYSTEREO |
    D_DSCAPS_SECONDARY8BIT | D_DSCAPS_SECONDARY16BIT;

}  // namespace

DirectSoundObject::~DirectSoundObject() {
  if (primary_ != nullptr) primary_->DetachFromDevice();
}

HRESULT DirectSoundObject::Initialize(LPCGUID device) {
  if (device_) return D_DSERR_ALREADYINITIALIZED;
  if (device != nullptr) return D_DSERR_NODRIVER;  // only the default device exists
  device_ = SoundDevice::Open(ChosenSoundDevice());
  RememberOpenedSoundDevice(device_);
  return D_DS_OK;
}

HRESULT DirectSoundObject::SetCooperativeLevel(HWND window, DWORD level) {
  if (!device_) return D_DSERR_UNINITIALIZED;
  if (window == nullptr || level < D_DSSCL_NORMAL || level > D_DSSCL_WRITEPRIMARY) {
    return D_DSERR_INVALIDPARAM;
  }
  device_->cooperative_level = level;
  return D_DS_OK;
}

HRESULT DirectSoundObject::GetCaps(D_LPDSCAPS caps) {
  if (!device_) return D_DSERR_UNINITIALIZED;
  if (caps == nullptr || caps->dwSize != sizeof(D_DSCAPS)) return D_DSERR_INVALIDPARAM;
  *caps = D_DSCAPS{};
  caps->dwSize = sizeof(D_DSCAPS);
  // All mixing is software: no hardware buffers and no sound memory.
  caps->dwFlags = kAllFormatsAndChannels | D_DSCAPS_EMULDRIVER;
  caps->dwMinSecondarySampleRate = D_DSBFREQUENCY_MIN;
  caps->dwMaxSecondarySampleRate = D_DSBFREQUENCY_MAX;
  caps->dwPrimaryBuffers = 1;
  return D_DS_OK;
}

HRESULT DirectSoundObject::CreateSoundBuffer(D_LPCDSBUFFERDESC description,
                                             D_LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) {
  if (buffer == nullptr) return D_DSERR_INVALIDPARAM;
  *buffer = nullptr;
  if (!device_) return D_DSERR_UNINITIALIZED;
  if (outer != nullptr) return D_DSERR_NOAGGREGATION;
  if (description == nullptr || (description->dwSize != sizeof(D_DSBUFFERDESC) &&
                                 description->dwSize != kShortDescriptionBytes)) {
    return D_DSERR_INVALIDPARAM;
  }
  if ((description->dwFlags & D_DSBCAPS_PRIMARYBUFFER) == 0)
    return CreateSecondaryBuffer(*description, buffer);
  if (description->dwBufferBytes != 0 || description->lpwfxFormat != nullptr)
    return D_DSERR_INVALIDPARAM;
  if (primary_ == nullptr) {
    primary_ = new PrimarySoundBuffer(device_);
  } else {
    primary_->AddRef();
  }
  *buffer = primary_;
  return D_DS_OK;
}

HRESULT DirectSoundObject::CreateSecondaryBuffer(const D_DSBUFFERDESC& description,
                                                 D_LPDIRECTSOUNDBUFFER* buffer) {
  if ((description.dwFlags & ~kSecondaryControls) != 0 ||
      description.dwBufferBytes < D_DSBSIZE_MIN || description.dwBufferBytes > D_DSBSIZE_MAX) {
    return D_DSERR_INVALIDPARAM;
  }
  VoiceFormat format{};
  const HRESULT checked = CheckPlayableFormat(description.lpwfxFormat, &format);
  if (FAILED(checked)) return checked;
  // The size grows to whole frames.
  const DWORD block = format.BlockAlign();
  const DWORD bytes = (description.dwBufferBytes + block - 1) / block * block;
  SampleBytes samples;
  try {
    // Silence to start with: 128 for unsigned 8-bit samples.
    samples = std::make_shared<std::vector<BYTE>>(bytes, format.bits == 8 ? 0x80 : 0);
  } catch (const std::bad_alloc&) {
    return D_DSERR_OUTOFMEMORY;
  }
  *buffer = new SecondarySoundBuffer(device_, std::move(samples), format, description.dwFlags);
  return D_DS_OK;
}

HRESULT DirectSoundObject::DuplicateSoundBuffer(D_LPDIRECTSOUNDBUFFER original,
                                                D_LPDIRECTSOUNDBUFFER* duplicate) {
  if (duplicate == nullptr) return D_DSERR_INVALIDPARAM;
  *duplicate = nullptr;
  if (!device_) return D_DSERR_UNINITIALIZED;
  if (original == nullptr) return D_DSERR_INVALIDPARAM;
  // Only secondary buffers of this layer can be duplicated.
  auto* secondary = dynamic_cast<SecondarySoundBuffer*>(original);
  if (secondary == nullptr) return D_DSERR_INVALIDCALL;
  *duplicate = secondary->Duplicate();
  return D_DS_OK;
}

}  // namespace wqplat
