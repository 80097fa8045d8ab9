// The asynchronous reader's lower layers: the byte stream it reads from
// (with the memory stream and its arrival-rate throttle), one read request,
// and the request queue with its worker thread.
#pragma once

#include "media/filters/base_list.h"

class D_CAsyncStream {
 public:
  D_CAsyncStream() = default;
  D_CAsyncStream(const D_CAsyncStream&) = delete;
  D_CAsyncStream& operator=(const D_CAsyncStream&) = delete;

  virtual ~D_CAsyncStream() = default;
  virtual HRESULT SetPointer(LONGLONG position) = 0;
  virtual HRESULT Read(BYTE* buffer, DWORD bytes, BOOL aligned, LPDWORD read) = 0;
  virtual LONGLONG Size(LONGLONG* available = nullptr) = 0;
  virtual DWORD Alignment() = 0;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

// A stream over a block of memory that it does not own. The data appear to
// arrive at `rate` bytes per millisecond from the stream's construction;
// 0xFFFFFFFF means at once.
class D_CMemStream : public D_CAsyncStream, public D_CTrackedNew {
 public:
  static constexpr DWORD kNoThrottle = 0xFFFFFFFFu;

  // Null when the rate is 0 (no byte would ever arrive) or memory is short.
  static D_CMemStream* Create(const BYTE* data, LONGLONG length, DWORD rate);
  D_CMemStream(const BYTE* data, LONGLONG length, DWORD rate);
  ~D_CMemStream() override;
  HRESULT SetPointer(LONGLONG position) override;
  HRESULT Read(BYTE* buffer, DWORD bytes, BOOL aligned, LPDWORD read) override;
  LONGLONG Size(LONGLONG* available = nullptr) override;
  DWORD Alignment() override { return 1; }
  void Lock() override { EnterCriticalSection(&lock_); }
  void Unlock() override { LeaveCriticalSection(&lock_); }

 private:
  CRITICAL_SECTION lock_;
  const BYTE* data_;
  LONGLONG length_;
  LONGLONG position_ = 0;
  DWORD rate_;
  DWORD startTime_;
};

class D_CAsyncIo;

class D_CAsyncRequest : public D_CTrackedNew {
 public:
  HRESULT Request(D_CAsyncIo* io, D_CAsyncStream* stream, LONGLONG position, LONG length, BOOL aligned,
                  BYTE* buffer, LPVOID context, DWORD_PTR user);
  // Carries the read out on the calling thread.
  HRESULT Complete();
  HRESULT GetHResult() const { return result_; }
  LONG GetActualLength() const { return length_; }
  LPVOID GetContext() const { return context_; }
  DWORD_PTR GetUser() const { return user_; }
  LONGLONG GetStart() const { return position_; }

 private:
  D_CAsyncIo* io_ = nullptr;
  D_CAsyncStream* stream_ = nullptr;
  LONGLONG position_ = 0;
  BOOL aligned_ = FALSE;
  LONG length_ = 0;
  BYTE* buffer_ = nullptr;
  LPVOID context_ = nullptr;
  DWORD_PTR user_ = 0;
  HRESULT result_ = D_VFW_E_TIMEOUT;
};

class D_CAsyncIo : public D_CTrackedNew {
 public:
  explicit D_CAsyncIo(D_CAsyncStream* stream);
  ~D_CAsyncIo();
  D_CAsyncIo(const D_CAsyncIo&) = delete;
  D_CAsyncIo& operator=(const D_CAsyncIo&) = delete;

  HRESULT Request(LONGLONG position, LONG length, BOOL aligned, BYTE* buffer, LPVOID context, DWORD_PTR user);
  HRESULT WaitForNext(DWORD timeout, LPVOID* context, DWORD_PTR* user, LONG* actual);
  HRESULT SyncReadAligned(LONGLONG position, LONG length, BYTE* buffer, LONG* actual, LPVOID context);
  HRESULT SyncRead(LONGLONG position, LONG length, BYTE* buffer);
  HRESULT Length(LONGLONG* total, LONGLONG* available);
  HRESULT Alignment(LONG* alignment);
  HRESULT BeginFlush();
  HRESULT EndFlush();
  bool IsAligned(LONGLONG value) const { return (value & (stream_->Alignment() - 1)) == 0; }
  bool HasWorkerThread() const { return thread_ != nullptr; }

 private:
  HRESULT StartThread();
  void CloseThread();
  static DWORD WINAPI WorkerProcedure(LPVOID parameter);
  DWORD Worker();
  void ProcessRequests();
  D_CAsyncRequest* GetWorkItem();
  D_CAsyncRequest* GetDoneItem();
  HRESULT PutWorkItem(D_CAsyncRequest* request);
  void PutDoneItem(D_CAsyncRequest* request);

  CRITICAL_SECTION readerLock_;
  D_CAsyncStream* stream_;
  CRITICAL_SECTION listLock_;
  BOOL flushing_ = FALSE;
  D_CGenericList<D_CAsyncRequest> work_;
  D_CGenericList<D_CAsyncRequest> done_;
  D_CAMEvent workEvent_{TRUE};
  D_CAMEvent doneEvent_{TRUE};
  LONG itemsOut_ = 0;
  BOOL waiting_ = FALSE;
  D_CAMEvent allDone_{FALSE};
  D_CAMEvent stopEvent_{TRUE};
  HANDLE thread_ = nullptr;
};
