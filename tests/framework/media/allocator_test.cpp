// The memory allocator's properties, commit states and waiting, and the
// media sample's times, lengths and properties.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "media/filters/allocator.h"
#include "support/wait_until.h"
#include "test_filters.h"

namespace {

class AllocatorTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    HRESULT result = S_OK;
    object_ = new D_CMemAllocator("Test allocator", nullptr, &result);
    ASSERT_EQ(result, S_OK);
    allocator_ = object_->AsAllocator();
    allocator_->AddRef();
  }
  void TearDown() override {
    allocator_->Release();
    FilterTest::TearDown();
  }
  HRESULT Set(LONG count, LONG size, LONG align, LONG prefix, D_ALLOCATOR_PROPERTIES* actual = nullptr) {
    D_ALLOCATOR_PROPERTIES request{count, size, align, prefix};
    D_ALLOCATOR_PROPERTIES got{};
    const HRESULT result = allocator_->SetProperties(&request, &got);
    if (actual != nullptr) *actual = got;
    return result;
  }

  D_CMemAllocator* object_ = nullptr;
  D_IMemAllocator* allocator_ = nullptr;
};

TEST_F(AllocatorTest, PropertiesAreCheckedAndTheSizeRoundedToTheAlignment) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const auto granularity = static_cast<LONG>(system.dwAllocationGranularity);
  struct Case {
    LONG size, align, prefix;
    HRESULT result;
    LONG actualSize;
  };
  const Case cases[] = {
      {10, 0, 0, D_VFW_E_BADALIGN, 0},
      {10, 2 * granularity, 0, D_VFW_E_BADALIGN, 0},
      {10, 3, 0, S_OK, 12},
      {10, 8, 2, S_OK, 14},
      {16, 1, 0, S_OK, 16},
  };
  for (const Case& c : cases) {
    D_ALLOCATOR_PROPERTIES actual{};
    EXPECT_EQ(Set(2, c.size, c.align, c.prefix, &actual), c.result) << c.size << "/" << c.align;
    EXPECT_EQ(actual.cbBuffer, c.actualSize);
  }
  EXPECT_EQ(allocator_->SetProperties(nullptr, nullptr), E_POINTER);
  ASSERT_EQ(allocator_->Commit(), S_OK);
  EXPECT_EQ(Set(2, 10, 1, 0), D_VFW_E_ALREADY_COMMITTED);
  EXPECT_EQ(allocator_->Decommit(), S_OK);
}

TEST_F(AllocatorTest, CommitWithoutPropertiesFails) {
  EXPECT_EQ(allocator_->Commit(), D_VFW_E_SIZENOTSET);
  D_IMediaSample* sample = nullptr;
  EXPECT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), D_VFW_E_NOT_COMMITTED);
}

TEST_F(AllocatorTest, BuffersAreAlignedWithTheirPrefixInFront) {
  ASSERT_EQ(Set(3, 10, 16, 4), S_OK);
  ASSERT_EQ(allocator_->Commit(), S_OK);
  D_IMediaSample* samples[3] = {};
  for (D_IMediaSample*& sample : samples) ASSERT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  for (D_IMediaSample* sample : samples) {
    BYTE* buffer = nullptr;
    sample->GetPointer(&buffer);
    EXPECT_EQ((reinterpret_cast<std::uintptr_t>(buffer) - 4) % 16, 0u);
    EXPECT_EQ(sample->GetSize(), 12);
    sample->Release();
  }
  EXPECT_EQ(allocator_->Decommit(), S_OK);
}

TEST_F(AllocatorTest, AnExhaustedPoolRefusesAtOnceOrWaitsForARelease) {
  ASSERT_EQ(Set(1, 8, 1, 0), S_OK);
  ASSERT_EQ(allocator_->Commit(), S_OK);
  D_IMediaSample* first = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&first, nullptr, nullptr, 0), S_OK);
  D_IMediaSample* second = first;
  EXPECT_EQ(allocator_->GetBuffer(&second, nullptr, nullptr, D_AM_GBF_NOWAIT), D_VFW_E_TIMEOUT);
  EXPECT_EQ(second, nullptr);
  std::atomic<pid_t> waiter{0};
  std::atomic<bool> got{false};
  std::thread thread([&] {
    waiter = wqtest::CurrentThreadId();
    D_IMediaSample* sample = nullptr;
    if (allocator_->GetBuffer(&sample, nullptr, nullptr, 0) == S_OK) {
      got = true;
      sample->Release();
    }
  });
  ASSERT_TRUE(wqtest::WaitUntil([&] { return waiter != 0 && wqtest::ThreadIsBlocked(waiter); }));
  EXPECT_FALSE(got);
  first->Release();
  thread.join();
  EXPECT_TRUE(got);
  EXPECT_EQ(allocator_->Decommit(), S_OK);
}

TEST_F(AllocatorTest, ADecommitWithSamplesOutFreesWhenTheLastComesBack) {
  ASSERT_EQ(Set(2, 8, 1, 0), S_OK);
  ASSERT_EQ(allocator_->Commit(), S_OK);
  EXPECT_EQ(object_->GetReferenceCount(), 2) << "a committed allocator holds itself";
  D_IMediaSample* out = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&out, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(allocator_->Decommit(), S_OK);
  EXPECT_EQ(object_->GetReferenceCount(), 2) << "the block stays while a sample is out";
  D_IMediaSample* refused = nullptr;
  EXPECT_EQ(allocator_->GetBuffer(&refused, nullptr, nullptr, 0), D_VFW_E_NOT_COMMITTED);
  // A commit before the sample returns takes the pool back as it is.
  ASSERT_EQ(allocator_->Commit(), S_OK);
  ASSERT_EQ(allocator_->Decommit(), S_OK);
  BYTE* before = nullptr;
  out->GetPointer(&before);
  out->Release();
  EXPECT_EQ(object_->GetReferenceCount(), 1);
  D_IMemAllocatorCallbackTemp* callback = nullptr;
  ASSERT_EQ(allocator_->QueryInterface(D_IID_IMemAllocatorCallbackTemp, reinterpret_cast<void**>(&callback)), S_OK);
  LONG free = 0;
  EXPECT_EQ(callback->GetFreeCount(&free), S_OK);
  EXPECT_EQ(free, 2);
  callback->Release();
}

class SampleTest : public AllocatorTest {
 protected:
  void SetUp() override {
    AllocatorTest::SetUp();
    ASSERT_EQ(Set(1, 64, 1, 0), S_OK);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    D_IMediaSample* sample = nullptr;
    ASSERT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(sample->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&sample_)), S_OK);
    sample->Release();
  }
  void TearDown() override {
    sample_->Release();
    allocator_->Decommit();
    AllocatorTest::TearDown();
  }
  D_IMediaSample2* sample_ = nullptr;
};

TEST_F(SampleTest, TimesAndLengths) {
  D_REFERENCE_TIME start = 5;
  D_REFERENCE_TIME stop = 9;
  EXPECT_EQ(sample_->GetTime(&start, &stop), D_VFW_E_SAMPLE_TIME_NOT_SET);
  start = 100;
  ASSERT_EQ(sample_->SetTime(&start, nullptr), S_OK);
  EXPECT_EQ(sample_->GetTime(&start, &stop), D_VFW_S_NO_STOP_TIME);
  EXPECT_EQ(stop, 101);
  stop = 200;
  ASSERT_EQ(sample_->SetTime(&start, &stop), S_OK);
  stop = 0;
  EXPECT_EQ(sample_->GetTime(&start, &stop), S_OK);
  EXPECT_EQ(stop, 200);
  LONGLONG mediaStart = 7;
  LONGLONG mediaEnd = 0;
  EXPECT_EQ(sample_->GetMediaTime(&mediaStart, &mediaEnd), D_VFW_E_MEDIA_TIME_NOT_SET);
  mediaEnd = 19;
  ASSERT_EQ(sample_->SetMediaTime(&mediaStart, &mediaEnd), S_OK);
  mediaEnd = 0;
  EXPECT_EQ(sample_->GetMediaTime(&mediaStart, &mediaEnd), S_OK);
  EXPECT_EQ(mediaEnd, 19);
  EXPECT_EQ(sample_->SetActualDataLength(64), S_OK);
  EXPECT_EQ(sample_->SetActualDataLength(65), D_VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(sample_->GetActualDataLength(), 64);
  EXPECT_EQ(sample_->IsSyncPoint(), S_FALSE);
  sample_->SetSyncPoint(TRUE);
  EXPECT_EQ(sample_->IsSyncPoint(), S_OK);
}

TEST_F(SampleTest, PropertiesReadAndWriteTheSamplesFields) {
  D_AM_SAMPLE2_PROPERTIES properties{};
  properties.cbData = sizeof(properties);
  properties.dwSampleFlags = D_AM_SAMPLE_TIMEVALID | D_AM_SAMPLE_STOPVALID | D_AM_SAMPLE_SPLICEPOINT;
  properties.lActual = 10;
  properties.tStart = 1000;
  properties.tStop = 2000;
  properties.dwStreamId = 3;
  EXPECT_EQ(sample_->SetProperties(3, reinterpret_cast<const BYTE*>(&properties)), S_OK) << "too short to count";
  EXPECT_EQ(sample_->GetActualDataLength(), 64);
  ASSERT_EQ(sample_->SetProperties(sizeof(properties), reinterpret_cast<const BYTE*>(&properties)), S_OK);
  D_AM_SAMPLE2_PROPERTIES read{};
  ASSERT_EQ(sample_->GetProperties(sizeof(read), reinterpret_cast<BYTE*>(&read)), S_OK);
  EXPECT_EQ(read.lActual, 10);
  EXPECT_EQ(read.tStop, 2000);
  EXPECT_EQ(read.dwStreamId, 3u);
  EXPECT_EQ(read.cbBuffer, 64);
  EXPECT_EQ(sample_->IsSyncPoint(), S_OK);

  struct Case {
    const char* name;
    D_AM_SAMPLE2_PROPERTIES change;
    DWORD size;
  };
  D_AM_SAMPLE2_PROPERTIES badFlags = properties;
  badFlags.dwSampleFlags = 0x200;
  D_AM_SAMPLE2_PROPERTIES otherBuffer = properties;
  otherBuffer.pbBuffer = reinterpret_cast<BYTE*>(&properties);
  D_AM_SAMPLE2_PROPERTIES longer = properties;
  longer.lActual = 65;
  D_AM_SAMPLE2_PROPERTIES oversized = properties;
  oversized.cbData = sizeof(properties) + 1;
  D_AM_SAMPLE2_PROPERTIES typeWithout = properties;
  typeWithout.dwSampleFlags |= D_AM_SAMPLE_TYPECHANGED;
  const Case refused[] = {
      {"flags outside the settable set", badFlags, sizeof(properties)},
      {"another buffer", otherBuffer, sizeof(properties)},
      {"more data than the buffer holds", longer, sizeof(properties)},
      {"a record larger than it can be", oversized, sizeof(properties)},
  };
  for (const Case& c : refused)
    EXPECT_EQ(sample_->SetProperties(c.size, reinterpret_cast<const BYTE*>(&c.change)), E_INVALIDARG) << c.name;
  EXPECT_EQ(sample_->SetProperties(sizeof(properties), reinterpret_cast<const BYTE*>(&typeWithout)), E_POINTER);
}

TEST_F(SampleTest, AReleasedSampleComesBackClean) {
  const D_CMediaType type = wqtest::MakeType(wqtest::TestGuid(1), wqtest::TestGuid(2));
  ASSERT_EQ(sample_->SetMediaType(const_cast<D_CMediaType*>(&type)), S_OK);
  sample_->SetDiscontinuity(TRUE);
  sample_->Release();
  D_IMediaSample* again = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&again, nullptr, nullptr, 0), S_OK);
  D_AM_MEDIA_TYPE* held = nullptr;
  EXPECT_EQ(again->GetMediaType(&held), S_FALSE);
  EXPECT_EQ(held, nullptr);
  EXPECT_EQ(again->IsDiscontinuity(), S_FALSE);
  ASSERT_EQ(again->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&sample_)), S_OK);
  again->Release();
}

}  // namespace
