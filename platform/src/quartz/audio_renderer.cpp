// The default audio renderer: each PCM sample, when due, plays as a voice
// of the layer's sound device (the one DirectSound opens), at the volume
// and balance set through IBasicAudio.
#include <algorithm>
#include <memory>
#include <vector>

#include "dsound/sound_device.h"
#include "dsound/sound_device_choice.h"
#include "ole32/com_class_table.h"
#include "quartz/renderer_filter.h"

namespace wqplat {
namespace {

// {E30629D1-27E5-11CE-875D-00608CB78066}
constexpr CLSID kAudioRendererClsid = {
    0xE30629D1, 0x27E5, 0x11CE, {0x87, 0x5D, 0x00, 0x60, 0x8C, 0xB7, 0x80, 0x66}};

constexpr LONG kSilence = -10'000;

class AudioRenderer final : public RendererFilter, public D_IBasicAudio {
 public:
  AudioRenderer() : RendererFilter(kAudioRendererClsid) {}
  ~AudioRenderer() override { DropVoices(true); }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object && iid == D_IID_IBasicAudio) {
      *object = static_cast<D_IBasicAudio*>(this);
      AddRef();
      return S_OK;
    }
    return RendererFilter::QueryInterface(iid, object);
  }
  ULONG AddRef() override { return RendererFilter::AddRef(); }
  ULONG Release() override { return RendererFilter::Release(); }

  HRESULT GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }

  HRESULT put_Volume(LONG volume) override {
    if (volume > 0 || volume < kSilence) return E_INVALIDARG;
    volume_ = volume;
    ApplyGains();
    return S_OK;
  }
  HRESULT get_Volume(LONG* volume) override {
    if (volume == nullptr) return E_POINTER;
    *volume = volume_;
    return S_OK;
  }
  HRESULT put_Balance(LONG balance) override {
    if (balance < kSilence || balance > -kSilence) return E_INVALIDARG;
    balance_ = balance;
    ApplyGains();
    return S_OK;
  }
  HRESULT get_Balance(LONG* balance) override {
    if (balance == nullptr) return E_POINTER;
    *balance = balance_;
    return S_OK;
  }

 protected:
  HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override {
    if (type.majortype != D_MEDIATYPE_Audio || type.subtype != D_MEDIASUBTYPE_PCM) return E_FAIL;
    if (type.formattype != D_FORMAT_WaveFormatEx || type.cbFormat < sizeof(WAVEFORMATEX)) return E_INVALIDARG;
    VoiceFormat format{};
    return SUCCEEDED(CheckPlayableFormat(reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat), &format)) ? S_OK
                                                                                                         : E_FAIL;
  }
  void OnConnected(const D_AM_MEDIA_TYPE& type) override {
    CheckPlayableFormat(reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat), &format_);
    if (device_ == nullptr) device_ = SoundDevice::Open(ChosenSoundDevice());
  }
  HRESULT Render(D_IMediaSample* sample) override {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG length = sample->GetActualDataLength();
    if (device_ == nullptr || length < static_cast<LONG>(format_.BlockAlign())) return S_OK;
    auto bytes = std::make_shared<std::vector<BYTE>>(data, data + length);
    auto voice = std::make_unique<SoundVoice>(std::move(bytes), format_);
    DropVoices(false);
    const auto guard = device_->Access();
    voice->SetGains(volume_, balance_);
    voice->playing = true;
    device_->AddVoice(voice.get());
    voices_.push_back(std::move(voice));
    return S_OK;
  }
  void OnStop() override {
    RendererFilter::OnStop();
    DropVoices(true);
  }

 private:
  // Lets go of the voices that have played to their end, or of all.
  void DropVoices(bool all) {
    if (device_ == nullptr) return;
    const auto guard = device_->Access();
    std::erase_if(voices_, [&](const std::unique_ptr<SoundVoice>& voice) {
      if (!all && voice->playing) return false;
      device_->RemoveVoice(voice.get());
      return true;
    });
  }
  void ApplyGains() {
    if (device_ == nullptr) return;
    const auto guard = device_->Access();
    for (auto& voice : voices_) voice->SetGains(volume_, balance_);
  }

  std::shared_ptr<SoundDevice> device_;
  VoiceFormat format_{};
  std::vector<std::unique_ptr<SoundVoice>> voices_;
  LONG volume_ = 0;
  LONG balance_ = 0;
};

}  // namespace

HRESULT CreateAudioRenderer(REFIID iid, void** object) { return CreateComClassObject<AudioRenderer>(iid, object); }

}  // namespace wqplat
