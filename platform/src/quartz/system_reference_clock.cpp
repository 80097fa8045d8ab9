#include "quartz/system_reference_clock.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "ole32/com_class_table.h"
#include "platform/kernel32_system.h"
#include "quartz/counted_object.h"
#include "platform/mmsystem.h"

namespace wqplat {
namespace {

constexpr D_REFERENCE_TIME kUnitsPerMillisecond = 10'000;

D_REFERENCE_TIME Now() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);  // 10 MHz: already in 100 ns units
  return counter.QuadPart;
}

class SystemReferenceClock;

// One advise request; its address is the cookie. Whoever takes it out of
// the clock's set (the firing of a one-shot request, Unadvise, the clock's
// end) deletes it, after killing its timer.
struct Advice {
  SystemReferenceClock* clock = nullptr;
  HANDLE handle = nullptr;
  bool periodic = false;
  UINT period_ms = 0;
  UINT timer = 0;
  bool every_period = false;  // past the start: the timer is the periodic one
};

class SystemReferenceClock final : public CountedObject<D_IReferenceClock> {
 public:
  ~SystemReferenceClock() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;

  HRESULT GetTime(D_REFERENCE_TIME* time) override;
  HRESULT AdviseTime(D_REFERENCE_TIME base_time, D_REFERENCE_TIME stream_time, D_HEVENT event,
                     DWORD_PTR* cookie) override;
  HRESULT AdvisePeriodic(D_REFERENCE_TIME start_time, D_REFERENCE_TIME period, D_HSEMAPHORE semaphore,
                         DWORD_PTR* cookie) override;
  HRESULT Unadvise(DWORD_PTR cookie) override;

 private:
  static void OnTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
  void Signal(const Advice& advice);
  HRESULT Schedule(Advice* advice, D_REFERENCE_TIME at, DWORD_PTR* cookie);

  std::mutex lock_;
  std::set<Advice*> advices_;
  D_REFERENCE_TIME last_time_ = -1;
};

SystemReferenceClock::~SystemReferenceClock() {
  std::set<Advice*> left;
  {
    std::lock_guard guard(lock_);
    left.swap(advices_);
  }
  for (Advice* advice : left) {
    if (advice->timer) timeKillEvent(advice->timer);
    delete advice;
  }
}

HRESULT SystemReferenceClock::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == D_IID_IReferenceClock) {
    AddRef();
    *object = static_cast<D_IReferenceClock*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT SystemReferenceClock::GetTime(D_REFERENCE_TIME* time) {
  if (time == nullptr) return E_POINTER;
  std::lock_guard guard(lock_);
  // Never backwards, and S_FALSE when it has not moved.
  const D_REFERENCE_TIME now = std::max(Now(), last_time_);
  const HRESULT result = now == last_time_ ? S_FALSE : S_OK;
  last_time_ = now;
  *time = now;
  return result;
}

void SystemReferenceClock::Signal(const Advice& advice) {
  if (advice.periodic) {
    ReleaseSemaphore(advice.handle, 1, nullptr);
  } else {
    SetEvent(advice.handle);
  }
}

// On winmm's timer thread. A one-shot request ends here; a periodic one
// fired its start and from now on runs every period.
void SystemReferenceClock::OnTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* advice = reinterpret_cast<Advice*>(user);
  SystemReferenceClock& clock = *advice->clock;
  std::lock_guard guard(clock.lock_);
  if (!clock.advices_.contains(advice)) return;  // being unadvised
  clock.Signal(*advice);
  if (!advice->periodic) {
    clock.advices_.erase(advice);
    delete advice;
  } else if (!advice->every_period) {
    advice->every_period = true;
    advice->timer = timeSetEvent(advice->period_ms, 1, &OnTimer, user, TIME_PERIODIC);
  }
}

// Starts the request's timer for the clock time `at` (now when it passed)
// and hands out its cookie.
HRESULT SystemReferenceClock::Schedule(Advice* advice, D_REFERENCE_TIME at, DWORD_PTR* cookie) {
  advice->clock = this;
  std::lock_guard guard(lock_);
  const D_REFERENCE_TIME wait = at - Now();
  if (wait <= 0 && !advice->periodic) {
    Signal(*advice);
    delete advice;
    *cookie = 0;
    return S_OK;
  }
  const auto delay_ms = static_cast<UINT>(
      std::clamp<D_REFERENCE_TIME>((wait + kUnitsPerMillisecond - 1) / kUnitsPerMillisecond, 1, 1'000'000));
  advice->timer = timeSetEvent(delay_ms, 1, &OnTimer, reinterpret_cast<DWORD_PTR>(advice), TIME_ONESHOT);
  if (advice->timer == 0) {
    delete advice;
    return E_OUTOFMEMORY;
  }
  advices_.insert(advice);
  *cookie = reinterpret_cast<DWORD_PTR>(advice);
  return S_OK;
}

HRESULT SystemReferenceClock::AdviseTime(D_REFERENCE_TIME base_time, D_REFERENCE_TIME stream_time,
                                         D_HEVENT event, DWORD_PTR* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (event == 0 || base_time + stream_time <= 0 || stream_time < 0) return E_INVALIDARG;
  return Schedule(new Advice{.handle = reinterpret_cast<HANDLE>(event)}, base_time + stream_time, cookie);
}

HRESULT SystemReferenceClock::AdvisePeriodic(D_REFERENCE_TIME start_time, D_REFERENCE_TIME period,
                                             D_HSEMAPHORE semaphore, DWORD_PTR* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (semaphore == 0 || start_time < 0 || period <= 0) return E_INVALIDARG;
  const auto period_ms = static_cast<UINT>(
      std::clamp<D_REFERENCE_TIME>((period + kUnitsPerMillisecond / 2) / kUnitsPerMillisecond, 1, 1'000'000));
  return Schedule(new Advice{.handle = reinterpret_cast<HANDLE>(semaphore), .periodic = true, .period_ms = period_ms},
                  start_time, cookie);
}

HRESULT SystemReferenceClock::Unadvise(DWORD_PTR cookie) {
  auto* advice = reinterpret_cast<Advice*>(cookie);
  UINT timer = 0;
  {
    std::lock_guard guard(lock_);
    if (advices_.erase(advice) == 0) return S_FALSE;
    timer = advice->timer;
  }
  // Outside the lock: the kill waits for a callback that may be taking it.
  timeKillEvent(timer);
  delete advice;
  return S_OK;
}

}  // namespace

HRESULT CreateSystemReferenceClock(REFIID iid, void** object) {
  return CreateComClassObject<SystemReferenceClock>(iid, object);
}

}  // namespace wqplat
