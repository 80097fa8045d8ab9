// The base filter: state, reference clock, graph membership, pin
// enumeration and registration with the filter mapper. Derived filters give
// it their pins and the critical section that the pins share.
#pragma once

#include "media/filters/com_object.h"

class D_CBasePin;

// Filter states.
constexpr D_FILTER_STATE kFilterStopped = D_State_Stopped;
constexpr D_FILTER_STATE kFilterPaused = D_State_Paused;
constexpr D_FILTER_STATE kFilterRunning = D_State_Running;

class D_CBaseFilter : public D_CUnknown, public D_IBaseFilter, public D_IAMovieSetup {
 public:
  D_CBaseFilter(const char* name, IUnknown* outer, CRITICAL_SECTION* lock, REFCLSID clsid);
  D_CBaseFilter(const char* name, IUnknown* outer, CRITICAL_SECTION* lock, REFCLSID clsid, HRESULT* result);

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  ~D_CBaseFilter() override;
  virtual HRESULT StreamTime(D_REFERENCE_TIME& time);
  virtual LONG GetPinVersion();
  virtual int GetPinCount() = 0;
  virtual D_CBasePin* GetPin(int n) = 0;
  virtual const D_AMOVIESETUP_FILTER* GetSetupData() { return nullptr; }

  // IPersist and IMediaFilter.
  HRESULT GetClassID(CLSID* clsid) override;
  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(D_REFERENCE_TIME start) override;
  HRESULT GetState(DWORD timeout, D_FILTER_STATE* state) override;
  HRESULT SetSyncSource(D_IReferenceClock* clock) override;
  HRESULT GetSyncSource(D_IReferenceClock** clock) override;
  // IBaseFilter.
  HRESULT EnumPins(D_IEnumPins** pins) override;
  HRESULT FindPin(LPCWSTR id, D_IPin** pin) override;
  HRESULT QueryFilterInfo(D_FILTER_INFO* info) override;
  HRESULT JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) override;
  HRESULT QueryVendorInfo(LPWSTR* text) override;
  // IAMovieSetup.
  HRESULT Register() override;
  HRESULT Unregister() override;

  // For the derived filters.
  HRESULT NotifyEvent(LONG code, LONG_PTR parameter1, LONG_PTR parameter2);
  HRESULT ReconnectPin(D_IPin* pin, const D_AM_MEDIA_TYPE* type);
  bool IsStopped() const { return state_ == kFilterStopped; }
  bool IsActive() const { return state_ != kFilterStopped; }
  D_FILTER_STATE State() const { return state_; }
  D_IFilterGraph* GetFilterGraph() const { return graph_; }
  D_IReferenceClock* GetClock() const { return clock_; }
  D_REFERENCE_TIME StreamStart() const { return streamStart_; }
  CRITICAL_SECTION* FilterLock() const { return lock_; }
  void IncrementPinVersion() { InterlockedIncrement(&pinVersion_); }
  D_IBaseFilter* AsBaseFilter() { return this; }

 protected:
  HRESULT RegisterWithMapper(BOOL registering);

  D_FILTER_STATE state_ = kFilterStopped;
  D_IReferenceClock* clock_ = nullptr;
  D_REFERENCE_TIME streamStart_ = 0;
  CLSID clsid_;
  CRITICAL_SECTION* lock_;
  WCHAR* name_ = nullptr;
  D_IFilterGraph* graph_ = nullptr;       // not referenced
  D_IMediaEventSink* eventSink_ = nullptr;  // not referenced
  volatile LONG pinVersion_ = 1;
};
