#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/dshow.h"
#include "platform/windows.h"

namespace {

class ReferenceClockTest : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    CoInitialize(nullptr);
    ASSERT_EQ(CoCreateInstance(D_CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, D_IID_IReferenceClock,
                               reinterpret_cast<void**>(&clock_)),
              S_OK);
  }
  void TearDown() override {
    EXPECT_EQ(clock_->Release(), 0u);
    CoUninitialize();
  }
  D_REFERENCE_TIME Now() {
    D_REFERENCE_TIME now = 0;
    clock_->GetTime(&now);
    return now;
  }

  D_IReferenceClock* clock_ = nullptr;
};

TEST_F(ReferenceClockTest, TimeFollowsTheLayerClockAndSaysWhenItDidNotMove) {
  D_REFERENCE_TIME first = 0, second = 0;
  EXPECT_EQ(clock_->GetTime(&first), S_OK);
  EXPECT_EQ(clock_->GetTime(&second), S_FALSE);
  EXPECT_EQ(second, first);
  Sleep(250);
  EXPECT_EQ(clock_->GetTime(&second), S_OK);
  EXPECT_EQ(second - first, 2'500'000);
  EXPECT_EQ(clock_->GetTime(nullptr), E_POINTER);
}

TEST_F(ReferenceClockTest, AdviseTimeSetsTheEventWhenTheClockGetsThere) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  DWORD_PTR cookie = 0;
  const D_REFERENCE_TIME base = Now();
  ASSERT_EQ(clock_->AdviseTime(base, 1'000'000, reinterpret_cast<D_HEVENT>(event), &cookie), S_OK);
  Sleep(99);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  Sleep(1);
  EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
  EXPECT_GE(Now(), base + 1'000'000);
  EXPECT_EQ(clock_->Unadvise(cookie), S_FALSE);  // a one-shot request ends when it fires

  // A request unadvised in time never fires; a time that passed fires now.
  ASSERT_EQ(clock_->AdviseTime(Now(), 500'000, reinterpret_cast<D_HEVENT>(event), &cookie), S_OK);
  EXPECT_EQ(clock_->Unadvise(cookie), S_OK);
  Sleep(100);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  ASSERT_EQ(clock_->AdviseTime(1, 0, reinterpret_cast<D_HEVENT>(event), &cookie), S_OK);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);

  EXPECT_EQ(clock_->AdviseTime(0, 0, reinterpret_cast<D_HEVENT>(event), &cookie), E_INVALIDARG);
  EXPECT_EQ(clock_->AdviseTime(Now(), 10, 0, &cookie), E_INVALIDARG);
  EXPECT_EQ(clock_->AdviseTime(Now(), 10, reinterpret_cast<D_HEVENT>(event), nullptr), E_POINTER);
  CloseHandle(event);
}

TEST_F(ReferenceClockTest, AdvisePeriodicReleasesTheSemaphoreAtTheStartAndEachPeriod) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 0, 100, nullptr);
  DWORD_PTR cookie = 0;
  const D_REFERENCE_TIME start = Now() + 200'000;
  ASSERT_EQ(clock_->AdvisePeriodic(start, 100'000, reinterpret_cast<D_HSEMAPHORE>(semaphore), &cookie), S_OK);
  Sleep(20);
  EXPECT_EQ(WaitForSingleObject(semaphore, INFINITE), WAIT_OBJECT_0);
  EXPECT_GE(Now(), start);
  for (int period = 1; period <= 3; ++period) {
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
    Sleep(10);
    EXPECT_EQ(WaitForSingleObject(semaphore, INFINITE), WAIT_OBJECT_0);
    EXPECT_GE(Now(), start + period * 100'000);
  }
  EXPECT_EQ(clock_->Unadvise(cookie), S_OK);
  Sleep(100);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
  EXPECT_EQ(clock_->AdvisePeriodic(0, 0, reinterpret_cast<D_HSEMAPHORE>(semaphore), &cookie), E_INVALIDARG);
  CloseHandle(semaphore);
}

TEST(QuartzClassesTest, TheFilterMapperIsNotRegistered) {
  CoInitialize(nullptr);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(D_CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  CoUninitialize();
}

}  // namespace
