#include "quartz/seeking_pass_through.h"

#include <atomic>

namespace wqplat {
namespace {

// Three faces of one object: the inner IUnknown that owns it, and the two
// interfaces, whose IUnknown calls go to the controlling unknown (the outer
// object when aggregated, else the inner one).
class SeekingPassThru {
 public:
  explicit SeekingPassThru(IUnknown* outer) : controlling_(outer ? outer : &inner_) {}

  IUnknown* inner() { return &inner_; }

 private:
  class Inner final : public IUnknown {
   public:
    explicit Inner(SeekingPassThru* self) : self_(self) {}
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
      const ULONG left = --references_;
      if (left == 0) delete self_;
      return left;
    }

   private:
    SeekingPassThru* self_;
    std::atomic<ULONG> references_{1};
  };

  // An interface of the object whose IUnknown calls go to the controlling
  // unknown.
  template <class Interface>
  class Delegating : public Interface {
   public:
    explicit Delegating(SeekingPassThru* self) : self_(self) {}
    HRESULT QueryInterface(REFIID iid, void** object) override {
      return self_->controlling_->QueryInterface(iid, object);
    }
    ULONG AddRef() override { return self_->controlling_->AddRef(); }
    ULONG Release() override { return self_->controlling_->Release(); }

   protected:
    SeekingPassThru* const self_;
  };

  class PassThru final : public Delegating<D_ISeekingPassThru> {
   public:
    using Delegating::Delegating;
    HRESULT Init(BOOL, D_IPin* pin) override {
      if (pin == nullptr) return E_POINTER;
      if (self_->pin_ != nullptr) return E_FAIL;
      self_->pin_ = pin;
      return S_OK;
    }
  };

  class Seeking final : public Delegating<D_IMediaSeeking> {
   public:
    using Delegating::Delegating;

    HRESULT GetCapabilities(DWORD* a) override { return Forward(&D_IMediaSeeking::GetCapabilities, a); }
    HRESULT CheckCapabilities(DWORD* a) override { return Forward(&D_IMediaSeeking::CheckCapabilities, a); }
    HRESULT IsFormatSupported(const GUID* a) override { return Forward(&D_IMediaSeeking::IsFormatSupported, a); }
    HRESULT QueryPreferredFormat(GUID* a) override { return Forward(&D_IMediaSeeking::QueryPreferredFormat, a); }
    HRESULT GetTimeFormat(GUID* a) override { return Forward(&D_IMediaSeeking::GetTimeFormat, a); }
    HRESULT IsUsingTimeFormat(const GUID* a) override { return Forward(&D_IMediaSeeking::IsUsingTimeFormat, a); }
    HRESULT SetTimeFormat(const GUID* a) override { return Forward(&D_IMediaSeeking::SetTimeFormat, a); }
    HRESULT GetDuration(LONGLONG* a) override { return Forward(&D_IMediaSeeking::GetDuration, a); }
    HRESULT GetStopPosition(LONGLONG* a) override { return Forward(&D_IMediaSeeking::GetStopPosition, a); }
    HRESULT GetCurrentPosition(LONGLONG* a) override { return Forward(&D_IMediaSeeking::GetCurrentPosition, a); }
    HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* target_format, LONGLONG source,
                              const GUID* source_format) override {
      return Forward(&D_IMediaSeeking::ConvertTimeFormat, target, target_format, source, source_format);
    }
    HRESULT SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) override {
      return Forward(&D_IMediaSeeking::SetPositions, current, current_flags, stop, stop_flags);
    }
    HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) override {
      return Forward(&D_IMediaSeeking::GetPositions, current, stop);
    }
    HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) override {
      return Forward(&D_IMediaSeeking::GetAvailable, earliest, latest);
    }
    HRESULT SetRate(double a) override { return Forward(&D_IMediaSeeking::SetRate, a); }
    HRESULT GetRate(double* a) override { return Forward(&D_IMediaSeeking::GetRate, a); }
    HRESULT GetPreroll(LONGLONG* a) override { return Forward(&D_IMediaSeeking::GetPreroll, a); }

   private:
    // The same call on the seeking interface of the pin upstream.
    template <class... Parameters, class... Arguments>
    HRESULT Forward(HRESULT (D_IMediaSeeking::*method)(Parameters...), Arguments... arguments) {
      D_IPin* connected = nullptr;
      if (self_->pin_ == nullptr || FAILED(self_->pin_->ConnectedTo(&connected))) return E_NOTIMPL;
      D_IMediaSeeking* upstream = nullptr;
      const HRESULT found = connected->QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
      connected->Release();
      if (FAILED(found)) return E_NOTIMPL;
      const HRESULT result = (upstream->*method)(arguments...);
      upstream->Release();
      return result;
    }
  };

  IUnknown* const controlling_;
  Inner inner_{this};
  PassThru pass_thru_{this};
  Seeking seeking_{this};
  D_IPin* pin_ = nullptr;
};

HRESULT SeekingPassThru::Inner::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  IUnknown* face = nullptr;
  if (iid == IID_IUnknown) {
    face = this;
  } else if (iid == D_IID_ISeekingPassThru) {
    face = &self_->pass_thru_;
  } else if (iid == D_IID_IMediaSeeking && self_->pin_ != nullptr) {
    face = &self_->seeking_;
  }
  *object = face;
  if (face == nullptr) return E_NOINTERFACE;
  face->AddRef();
  return S_OK;
}

}  // namespace

HRESULT CreateSeekingPassThruAggregated(LPUNKNOWN outer, IUnknown** inner) {
  *inner = (new SeekingPassThru(outer))->inner();
  return S_OK;
}

HRESULT CreateSeekingPassThru(REFIID iid, void** object) {
  IUnknown* inner = nullptr;
  CreateSeekingPassThruAggregated(nullptr, &inner);
  const HRESULT result = inner->QueryInterface(iid, object);
  inner->Release();
  return result;
}

}  // namespace wqplat
