// The base of every media filter object: the count of live objects, the
// reference-counted unknown that can be aggregated into an owner, the
// forwarding of each interface's unknown calls to that owner, an event
// wrapper and the small COM helpers the filter classes share.
#pragma once

#include <cstddef>

#include "platform/dshow.h"
#include "platform/windows.h"

// Objects of the filter classes live in tracked memory, so a leaked filter
// shows in the allocation dump like any other block. A failed allocation
// gives a null object, which the creators report as E_OUTOFMEMORY.
class D_CTrackedNew {
 public:
  static void* operator new(std::size_t size) noexcept;
  static void operator delete(void* object) noexcept;
};

// Counts itself into the process-wide number of live objects; the last one
// to go unloads the automation library that the dispatch base loaded.
class D_CBaseObject : public D_CTrackedNew {
 public:
  explicit D_CBaseObject(const char* name);
  virtual ~D_CBaseObject();
  D_CBaseObject(const D_CBaseObject&) = delete;
  D_CBaseObject& operator=(const D_CBaseObject&) = delete;
};

LONG GetLiveFilterObjectCount();
// The automation library's module, loaded on demand by the dispatch base.
HMODULE GetAutomationModule();
void SetAutomationModule(HMODULE module);

class D_CUnknown : public D_CBaseObject {
 public:
  D_CUnknown(const char* name, IUnknown* outer);

  virtual HRESULT NonDelegatingQueryInterface(REFIID iid, void** object);
  virtual ULONG NonDelegatingAddRef();
  virtual ULONG NonDelegatingRelease();
  ~D_CUnknown() override;

  // The unknown that answers for the whole object: the outer one when
  // aggregated, else this object's own non-delegating unknown.
  IUnknown* GetOwner() const { return owner_; }
  // What an outer object holds of an aggregated one, and what IID_IUnknown
  // gives: its unknown calls land in the non-delegating operations.
  IUnknown* GetNonDelegatingUnknown() { return &inner_; }
  LONG GetReferenceCount() const { return references_; }

  // The three routines every other interface of the object answers with.
  HRESULT DelegateQueryInterfaceToOwner(REFIID iid, void** object) {
    return owner_->QueryInterface(iid, object);
  }
  ULONG DelegateAddRefToOwner() { return owner_->AddRef(); }
  ULONG DelegateReleaseToOwner() { return owner_->Release(); }

 private:
  class NonDelegatingUnknown : public IUnknown {
   public:
    explicit NonDelegatingUnknown(D_CUnknown* object) : object_(object) {}
    HRESULT QueryInterface(REFIID iid, void** object) override {
      return object_->NonDelegatingQueryInterface(iid, object);
    }
    ULONG AddRef() override { return object_->NonDelegatingAddRef(); }
    ULONG Release() override { return object_->NonDelegatingRelease(); }

   private:
    D_CUnknown* object_;
  };

  NonDelegatingUnknown inner_;
  IUnknown* owner_;
  volatile LONG references_ = 0;
};

// Placed in a class that implements interfaces besides its unknown: their
// QueryInterface, AddRef and Release go to the owner.
#define D_DELEGATE_UNKNOWN_TO_OWNER                                                         \
  HRESULT QueryInterface(REFIID iid, void** object) override {                              \
    return DelegateQueryInterfaceToOwner(iid, object);                                      \
  }                                                                                         \
  ULONG AddRef() override { return DelegateAddRefToOwner(); }                               \
  ULONG Release() override { return DelegateReleaseToOwner(); }

// A Win32 event owned by an object: created unsignalled, closed with it.
class D_CAMEvent {
 public:
  explicit D_CAMEvent(BOOL manualReset = FALSE);
  ~D_CAMEvent();
  D_CAMEvent(const D_CAMEvent&) = delete;
  D_CAMEvent& operator=(const D_CAMEvent&) = delete;

  HANDLE Handle() const { return event_; }
  void Set() { SetEvent(event_); }
  void Reset() { ResetEvent(event_); }
  BOOL Wait(DWORD timeout = INFINITE) { return WaitForSingleObject(event_, timeout) == WAIT_OBJECT_0; }

 private:
  HANDLE event_;
};

// Holds a critical section for a scope.
class D_CAutoLock {
 public:
  explicit D_CAutoLock(CRITICAL_SECTION* lock) : lock_(lock) { EnterCriticalSection(lock_); }
  ~D_CAutoLock() { LeaveCriticalSection(lock_); }
  D_CAutoLock(const D_CAutoLock&) = delete;
  D_CAutoLock& operator=(const D_CAutoLock&) = delete;

 private:
  CRITICAL_SECTION* lock_;
};

// Stores the interface with a reference taken.
HRESULT ReturnInterface(IUnknown* unknown, void** object);
// A task-memory copy of the string with its terminating zero.
HRESULT CopyWideStringToTaskMemory(const WCHAR* text, WCHAR** copy);
// A new task-memory media type copied from the given one (format included),
// or null.
D_AM_MEDIA_TYPE* CreateMediaTypeCopy(const D_AM_MEDIA_TYPE* source);
// Wide string helpers for pin and filter names.
int WideLength(const WCHAR* text);
// A tracked copy of the string (null for null), freed with FreeWideText.
WCHAR* DuplicateWideText(const WCHAR* text);
void FreeWideText(WCHAR* text);
// Copies at most capacity - 1 characters and ends the copy with a zero.
void CopyWideText(WCHAR* target, const WCHAR* source, int capacity);
