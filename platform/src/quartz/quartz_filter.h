// The base of the layer's own filters: a filter with its state, clock and
// graph membership, and its pins with their connection logic. Pins live on
// their filter's reference count.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dshow.h"

namespace wqplat {

class QuartzFilter;

// A fully specified type (major type and format type set) is used as it
// stands when a connection is asked for with one.
bool IsPartialMediaType(const D_AM_MEDIA_TYPE* type);
bool MatchesPartialMediaType(const D_AM_MEDIA_TYPE& type, const D_AM_MEDIA_TYPE& partial);

class QuartzPin : public D_IPin {
 public:
  QuartzPin(QuartzFilter* filter, D_PIN_DIRECTION direction, std::u16string name);
  virtual ~QuartzPin();
  QuartzPin(const QuartzPin&) = delete;
  QuartzPin& operator=(const QuartzPin&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT Connect(D_IPin* receive_pin, const D_AM_MEDIA_TYPE* type) override;
  HRESULT ReceiveConnection(D_IPin* connector, const D_AM_MEDIA_TYPE* type) override;
  HRESULT Disconnect() override;
  HRESULT ConnectedTo(D_IPin** pin) override;
  HRESULT ConnectionMediaType(D_AM_MEDIA_TYPE* type) override;
  HRESULT QueryPinInfo(D_PIN_INFO* info) override;
  HRESULT QueryDirection(D_PIN_DIRECTION* direction) override;
  HRESULT QueryId(LPWSTR* id) override;
  HRESULT QueryAccept(const D_AM_MEDIA_TYPE* type) override;
  HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) override;
  HRESULT QueryInternalConnections(D_IPin** pins, ULONG* count) override;
  HRESULT EndOfStream() override { return E_UNEXPECTED; }
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }
  HRESULT NewSegment(D_REFERENCE_TIME, D_REFERENCE_TIME, double) override { return S_OK; }

  bool IsConnected() const { return peer_ != nullptr; }
  D_IPin* peer() const { return peer_; }
  const D_AM_MEDIA_TYPE& connection_type() const { return type_; }
  D_PIN_DIRECTION direction() const { return direction_; }

  // State changes of the filter reach its connected pins.
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }

 protected:
  // S_OK for a type the pin takes.
  virtual HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) = 0;
  // The pin's own proposals, in order of preference; false past the last.
  virtual bool GetMediaType(int index, D_AM_MEDIA_TYPE* type);
  // After the peer and type are set; a failure undoes the connection.
  virtual HRESULT CompleteConnect(D_IPin* peer);
  virtual void BreakConnect() {}

  QuartzFilter* const filter_;

 private:
  HRESULT TryConnection(D_IPin* receive_pin, const D_AM_MEDIA_TYPE& type);
  HRESULT TryTypes(D_IPin* receive_pin, const D_AM_MEDIA_TYPE* partial, D_IEnumMediaTypes* types);
  void ClearConnection();

  const D_PIN_DIRECTION direction_;
  const std::u16string name_;
  D_IPin* peer_ = nullptr;
  D_AM_MEDIA_TYPE type_{};
};

// An output pin that delivers samples through the connected pin's
// IMemInputPin, from an allocator agreed at connection.
class QuartzOutputPin : public QuartzPin {
 public:
  QuartzOutputPin(QuartzFilter* filter, std::u16string name);
  ~QuartzOutputPin() override;

  HRESULT Active() override;
  HRESULT Inactive() override;

  HRESULT GetDeliveryBuffer(D_IMediaSample** sample);
  HRESULT Deliver(D_IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate);

 protected:
  // The buffers this pin needs, given the receiver's requirements.
  virtual void DecideBufferSize(D_ALLOCATOR_PROPERTIES* properties) = 0;
  HRESULT CompleteConnect(D_IPin* peer) override;
  void BreakConnect() override;

 private:
  HRESULT TryAllocator(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES properties);

  D_IMemInputPin* input_ = nullptr;
  D_IMemAllocator* allocator_ = nullptr;
};

// An input pin that receives samples: the allocator is the system's memory
// allocator unless the upstream pin brings its own.
class QuartzInputPin : public QuartzPin, public D_IMemInputPin {
 public:
  QuartzInputPin(QuartzFilter* filter, std::u16string name);
  ~QuartzInputPin() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return QuartzPin::AddRef(); }
  ULONG Release() override { return QuartzPin::Release(); }

  HRESULT GetAllocator(D_IMemAllocator** allocator) override;
  HRESULT NotifyAllocator(D_IMemAllocator* allocator, BOOL read_only) override;
  HRESULT GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT ReceiveMultiple(D_IMediaSample** samples, LONG count, LONG* processed) override;
  HRESULT ReceiveCanBlock() override { return S_OK; }

  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;
  HRESULT Inactive() override;

 protected:
  // S_OK while samples may be received: VFW_E_WRONG_STATE when stopped,
  // S_FALSE while flushing.
  HRESULT CheckStreaming();
  void BreakConnect() override;
  bool flushing() const { return flushing_; }

 private:
  D_IMemAllocator* allocator_ = nullptr;
  std::atomic<bool> flushing_{false};
};

class QuartzFilter : public D_IBaseFilter {
 public:
  QuartzFilter(const CLSID& clsid);
  virtual ~QuartzFilter();
  QuartzFilter(const QuartzFilter&) = delete;
  QuartzFilter& operator=(const QuartzFilter&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;

  HRESULT GetClassID(CLSID* clsid) override;
  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(D_REFERENCE_TIME start) override;
  HRESULT GetState(DWORD timeout_ms, D_FILTER_STATE* state) override;
  HRESULT SetSyncSource(D_IReferenceClock* clock) override;
  HRESULT GetSyncSource(D_IReferenceClock** clock) override;
  HRESULT EnumPins(D_IEnumPins** pins) override;
  HRESULT FindPin(LPCWSTR id, D_IPin** pin) override;
  HRESULT QueryFilterInfo(D_FILTER_INFO* info) override;
  HRESULT JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) override;
  HRESULT QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

  virtual int PinCount() = 0;
  virtual QuartzPin* Pin(int index) = 0;

  D_FILTER_STATE state() const { return state_; }
  std::recursive_mutex& lock() { return lock_; }
  // Reports an event to the graph; nothing outside a graph.
  void NotifyEvent(LONG code, LONG_PTR parameter1, LONG_PTR parameter2);
  D_IFilterGraph* graph() const { return graph_; }
  // Stream time now: the clock's time less the start given to Run; false
  // without a clock.
  bool StreamTime(D_REFERENCE_TIME* time);
  D_REFERENCE_TIME start_time() const { return start_time_; }
  D_IReferenceClock* clock() const { return clock_; }

 protected:
  // Hooks around the state changes, called under the lock.
  virtual HRESULT OnPause(D_FILTER_STATE) { return S_OK; }
  virtual HRESULT OnRun(D_REFERENCE_TIME) { return S_OK; }
  virtual void OnStop() {}

 private:
  std::atomic<ULONG> references_{1};
  const CLSID clsid_;
  std::recursive_mutex lock_;
  std::atomic<D_FILTER_STATE> state_{D_State_Stopped};
  D_IReferenceClock* clock_ = nullptr;
  D_REFERENCE_TIME start_time_ = 0;
  D_IFilterGraph* graph_ = nullptr;      // not referenced
  D_IMediaEventSink* sink_ = nullptr;    // not referenced
  std::u16string name_;
};

// A wide-string copy in task memory, as QueryId hands it out.
LPWSTR TaskMemoryString(const std::u16string& text);

}  // namespace wqplat
