#include "dsound/secondary_sound_buffer.h"

namespace wqplat {
namespace {

// The write cursor runs this far ahead of a playing buffer's play cursor.
constexpr DWORD kWriteLeadMs = 10;

}  // namespace

SecondarySoundBuffer::SecondarySoundBuffer(std::shared_ptr<SoundDevice> device, SampleBytes samples,
                                           VoiceFormat format, DWORD flags)
    : device_(std::move(device)), flags_(flags), voice_(std::move(samples), format) {
  const auto guard = device_->Access();
  device_->AddVoice(&voice_);
}

SecondarySoundBuffer::~SecondarySoundBuffer() {
  const auto guard = device_->Access();
  device_->RemoveVoice(&voice_);
}

SecondarySoundBuffer* SecondarySoundBuffer::Duplicate() {
  auto* duplicate = new SecondarySoundBuffer(device_, voice_.samples, voice_.format, flags_);
  const auto guard = device_->Access();
  duplicate->voice_.frequency = voice_.frequency;
  duplicate->voice_.SetGains(voice_.volume, voice_.pan);
  return duplicate;
}

DWORD SecondarySoundBuffer::WriteLead() const {
  const DWORD frames = std::min(voice_.frequency * kWriteLeadMs / 1000, voice_.frames - 1);
  return frames * voice_.format.BlockAlign();
}

HRESULT SecondarySoundBuffer::GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) {
  if (play_cursor == nullptr && write_cursor == nullptr) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  const auto frame = static_cast<DWORD>(device_->HeardCursor(voice_) >> kCursorFractionBits);
  const DWORD play = frame * voice_.format.BlockAlign();
  const DWORD whole_frames_bytes = voice_.frames * voice_.format.BlockAlign();
  if (play_cursor != nullptr) *play_cursor = play;
  if (write_cursor != nullptr)
    *write_cursor = voice_.playing ? (play + WriteLead()) % whole_frames_bytes : play;
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::GetStatus(LPDWORD status) {
  if (status == nullptr) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  *status = voice_.playing ? D_DSBSTATUS_PLAYING | (voice_.looping ? D_DSBSTATUS_LOOPING : 0) : 0;
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1,
                                   LPVOID* region2, LPDWORD bytes2, DWORD flags) {
  if (region1 == nullptr || bytes1 == nullptr) return D_DSERR_INVALIDPARAM;
  if (flags & D_DSBLOCK_FROMWRITECURSOR) {
    DWORD play = 0;
    GetCurrentPosition(&play, &offset);
  }
  if (flags & D_DSBLOCK_ENTIREBUFFER) bytes = Bytes();
  if (offset >= Bytes() || bytes == 0 || bytes > Bytes()) return D_DSERR_INVALIDPARAM;
  const DWORD first = std::min(bytes, Bytes() - offset);
  const DWORD second = bytes - first;
  // A range that wraps needs somewhere to put its second part.
  if (second != 0 && (region2 == nullptr || bytes2 == nullptr)) return D_DSERR_INVALIDPARAM;
  *region1 = voice_.samples->data() + offset;
  *bytes1 = first;
  if (region2 != nullptr) *region2 = second != 0 ? voice_.samples->data() : nullptr;
  if (bytes2 != nullptr) *bytes2 = second;
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) {
  BYTE* const begin = voice_.samples->data();
  const auto inside = [&](LPVOID region, DWORD bytes) {
    const auto* at = static_cast<const BYTE*>(region);
    return at >= begin && bytes <= Bytes() &&
           at - begin <= static_cast<std::ptrdiff_t>(Bytes() - bytes);
  };
  if (region1 == nullptr || !inside(region1, bytes1)) return D_DSERR_INVALIDPARAM;
  if (region2 != nullptr && !inside(region2, bytes2)) return D_DSERR_INVALIDPARAM;
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
  if (reserved != 0 || priority != 0) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  voice_.looping = (flags & D_DSBPLAY_LOOPING) != 0;
  if (!voice_.playing) {
    voice_.playing = true;
    voice_.frames_in_flight = 0;
  }
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::Stop() {
  const auto guard = device_->Access();
  voice_.cursor = device_->HeardCursor(voice_);  // stops where the listener is
  voice_.playing = false;
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::SetCurrentPosition(DWORD position) {
  if (position >= Bytes()) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  const DWORD frame = std::min(position / voice_.format.BlockAlign(), voice_.frames - 1);
  voice_.cursor = std::uint64_t{frame} << kCursorFractionBits;
  voice_.frames_in_flight = 0;
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::SetFormat(LPCWAVEFORMATEX) { return D_DSERR_INVALIDCALL; }

HRESULT SecondarySoundBuffer::SetVolume(LONG volume) {
  if ((flags_ & D_DSBCAPS_CTRLVOLUME) == 0) return D_DSERR_CONTROLUNAVAIL;
  if (volume < D_DSBVOLUME_MIN || volume > D_DSBVOLUME_MAX) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  voice_.SetGains(volume, voice_.pan);
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::SetPan(LONG pan) {
  if ((flags_ & D_DSBCAPS_CTRLPAN) == 0) return D_DSERR_CONTROLUNAVAIL;
  if (pan < D_DSBPAN_LEFT || pan > D_DSBPAN_RIGHT) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  voice_.SetGains(voice_.volume, pan);
  return D_DS_OK;
}

HRESULT SecondarySoundBuffer::SetFrequency(DWORD frequency) {
  if ((flags_ & D_DSBCAPS_CTRLFREQUENCY) == 0) return D_DSERR_CONTROLUNAVAIL;
  if (frequency == D_DSBFREQUENCY_ORIGINAL) frequency = voice_.format.rate;
  if (frequency < D_DSBFREQUENCY_MIN || frequency > D_DSBFREQUENCY_MAX) return D_DSERR_INVALIDPARAM;
  const auto guard = device_->Access();
  voice_.frequency = frequency;
  return D_DS_OK;
}

}  // namespace wqplat
