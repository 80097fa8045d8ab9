#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/dshow.h"
#include "platform/windows.h"
#include "quartz_test_support.h"
#include "support/wait_until.h"

namespace {

class AllocatorTest : public testing::Test {
 protected:
  void SetUp() override {
    allocator_ = wqtest::CreateSystemAllocator();
    ASSERT_NE(allocator_, nullptr);
  }
  void TearDown() override {
    if (allocator_) {
      allocator_->Decommit();  // a committed pool holds itself
      EXPECT_EQ(allocator_->Release(), 0u);
    }
    CoUninitialize();
  }
  HRESULT Set(LONG count, LONG size, LONG align, LONG prefix, D_ALLOCATOR_PROPERTIES* actual) {
    D_ALLOCATOR_PROPERTIES request{count, size, align, prefix};
    return allocator_->SetProperties(&request, actual);
  }

  D_IMemAllocator* allocator_ = nullptr;
};

TEST_F(AllocatorTest, PropertiesAreCheckedAndTheSizeRoundedToTheAlignment) {
  D_ALLOCATOR_PROPERTIES actual{};
  struct Case {
    LONG align;
    HRESULT expected;
  };
  for (Case c : {Case{0, D_VFW_E_BADALIGN}, Case{0x20000, D_VFW_E_BADALIGN}, Case{3, S_OK}}) {
    SCOPED_TRACE(c.align);
    EXPECT_EQ(Set(1, 10, c.align, 0, &actual), c.expected);
  }
  ASSERT_EQ(Set(2, 10, 8, 2, &actual), S_OK);
  EXPECT_EQ(actual.cBuffers, 2);
  EXPECT_EQ(actual.cbBuffer, 14);  // 10 + 2 rounded up to 16, less the prefix
  EXPECT_EQ(actual.cbAlign, 8);
  EXPECT_EQ(actual.cbPrefix, 2);
  D_ALLOCATOR_PROPERTIES got{};
  EXPECT_EQ(allocator_->GetProperties(&got), S_OK);
  EXPECT_EQ(got.cbBuffer, 14);

  ASSERT_EQ(allocator_->Commit(), S_OK);
  EXPECT_EQ(Set(2, 10, 8, 2, &actual), D_VFW_E_ALREADY_COMMITTED);
  D_IMediaSample* sample = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(allocator_->Decommit(), S_OK);
  EXPECT_EQ(Set(2, 10, 8, 2, &actual), D_VFW_E_BUFFERS_OUTSTANDING);
  sample->Release();
  EXPECT_EQ(Set(2, 10, 8, 2, &actual), S_OK);
}

TEST_F(AllocatorTest, BuffersAreAlignedWithTheirPrefixAndComeBackOnRelease) {
  D_ALLOCATOR_PROPERTIES actual{};
  D_IMediaSample* sample = nullptr;
  EXPECT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), D_VFW_E_NOT_COMMITTED);
  EXPECT_EQ(allocator_->Commit(), D_VFW_E_SIZENOTSET);
  ASSERT_EQ(Set(2, 100, 64, 16, &actual), S_OK);
  ASSERT_EQ(allocator_->Commit(), S_OK);

  D_IMediaSample* first = nullptr;
  D_IMediaSample* second = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&first, nullptr, nullptr, 0), S_OK);
  ASSERT_EQ(allocator_->GetBuffer(&second, nullptr, nullptr, 0), S_OK);
  for (D_IMediaSample* taken : {first, second}) {
    BYTE* buffer = nullptr;
    taken->GetPointer(&buffer);
    EXPECT_EQ((reinterpret_cast<std::uintptr_t>(buffer) - 16) % 64, 0u);
    EXPECT_EQ(taken->GetSize(), 112);
    EXPECT_EQ(taken->GetActualDataLength(), 112);
  }
  EXPECT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, D_AM_GBF_NOWAIT), D_VFW_E_TIMEOUT);
  EXPECT_EQ(sample, nullptr);

  // A waiting caller wakes when a sample comes back.
  std::atomic<bool> got{false};
  std::atomic<pid_t> waiter_id{0};
  std::thread waiter([&] {
    waiter_id = wqtest::CurrentThreadId();
    D_IMediaSample* waited = nullptr;
    if (allocator_->GetBuffer(&waited, nullptr, nullptr, 0) == S_OK) {
      got = true;
      waited->Release();
    }
  });
  ASSERT_TRUE(wqtest::WaitUntil([&] { return waiter_id != 0 && wqtest::ThreadIsBlocked(waiter_id); }));
  EXPECT_FALSE(got);
  first->AddRef();
  EXPECT_EQ(first->Release(), 1u);  // still lent
  first->Release();
  waiter.join();
  EXPECT_TRUE(got);
  second->Release();
}

TEST_F(AllocatorTest, DecommitWakesWaitersAndTheLastSampleBackFreesThePool) {
  D_ALLOCATOR_PROPERTIES actual{};
  ASSERT_EQ(Set(1, 64, 1, 0, &actual), S_OK);
  ASSERT_EQ(allocator_->Commit(), S_OK);
  D_IMediaSample* lent = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&lent, nullptr, nullptr, 0), S_OK);
  std::atomic<HRESULT> waited{S_OK};
  std::atomic<pid_t> waiter_id{0};
  std::thread waiter([&] {
    waiter_id = wqtest::CurrentThreadId();
    D_IMediaSample* none = nullptr;
    waited = allocator_->GetBuffer(&none, nullptr, nullptr, 0);
  });
  ASSERT_TRUE(wqtest::WaitUntil([&] { return waiter_id != 0 && wqtest::ThreadIsBlocked(waiter_id); }));
  allocator_->Decommit();
  waiter.join();
  EXPECT_EQ(waited.load(), D_VFW_E_NOT_COMMITTED);

  // The pool outlives the caller's reference while a sample is out.
  allocator_->AddRef();
  EXPECT_EQ(allocator_->Release(), 2u);  // the caller's and the pool's own
  D_IMemAllocator* pool = allocator_;
  allocator_ = nullptr;
  EXPECT_EQ(pool->Release(), 1u);
  BYTE* buffer = nullptr;
  lent->GetPointer(&buffer);
  buffer[63] = 1;  // still valid memory
  lent->Release();  // frees the pool
}

class CountingNotify final : public D_IMemAllocatorNotifyCallbackTemp {
 public:
  HRESULT QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT NotifyRelease() override {
    ++releases;
    return S_OK;
  }
  ULONG references = 1;
  int releases = 0;
};

TEST_F(AllocatorTest, TheCallbackInterfaceCountsFreeSamplesAndNotifiesReleases) {
  D_IMemAllocatorCallbackTemp* callback = nullptr;
  ASSERT_EQ(allocator_->QueryInterface(D_IID_IMemAllocatorCallbackTemp, reinterpret_cast<void**>(&callback)),
            S_OK);
  CountingNotify notify;
  EXPECT_EQ(callback->SetNotify(&notify), S_OK);
  EXPECT_EQ(notify.references, 2u);
  D_ALLOCATOR_PROPERTIES actual{};
  ASSERT_EQ(Set(3, 8, 1, 0, &actual), S_OK);
  LONG free = 0;
  callback->GetFreeCount(&free);
  EXPECT_EQ(free, 3);
  ASSERT_EQ(allocator_->Commit(), S_OK);
  D_IMediaSample* sample = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  callback->GetFreeCount(&free);
  EXPECT_EQ(free, 2);
  sample->Release();
  EXPECT_EQ(notify.releases, 1);
  callback->GetFreeCount(&free);
  EXPECT_EQ(free, 3);
  callback->SetNotify(nullptr);
  EXPECT_EQ(notify.references, 1u);
  allocator_->Decommit();
  callback->Release();
}

}  // namespace
