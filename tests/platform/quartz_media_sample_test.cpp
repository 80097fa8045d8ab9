#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "platform/dshow.h"
#include "platform/windows.h"
#include "quartz_test_support.h"

namespace {

// One sample of a one-buffer pool, given back when the test ends.
class MediaSampleTest : public testing::Test {
 protected:
  void SetUp() override {
    allocator_ = wqtest::CreateSystemAllocator();
    ASSERT_NE(allocator_, nullptr);
    D_ALLOCATOR_PROPERTIES request{1, 100, 1, 0}, actual{};
    ASSERT_EQ(allocator_->SetProperties(&request, &actual), S_OK);
    ASSERT_EQ(allocator_->Commit(), S_OK);
    D_IMediaSample* sample = nullptr;
    ASSERT_EQ(allocator_->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(sample->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&sample_)), S_OK);
    sample->Release();
  }
  void TearDown() override {
    if (sample_) sample_->Release();
    allocator_->Decommit();
    EXPECT_EQ(allocator_->Release(), 0u);
    CoUninitialize();
  }

  D_AM_SAMPLE2_PROPERTIES Properties() {
    D_AM_SAMPLE2_PROPERTIES record{};
    EXPECT_EQ(sample_->GetProperties(sizeof(record), reinterpret_cast<BYTE*>(&record)), S_OK);
    return record;
  }

  D_IMemAllocator* allocator_ = nullptr;
  D_IMediaSample2* sample_ = nullptr;
};

TEST(MediaTypeLayoutTest, RecordsHaveTheirNativeLayout) {
  EXPECT_EQ(sizeof(WCHAR), 2u);
  EXPECT_EQ(offsetof(D_AM_MEDIA_TYPE, lSampleSize), 40u);
  EXPECT_EQ(offsetof(D_AM_MEDIA_TYPE, formattype), 44u);
  EXPECT_EQ(offsetof(D_AM_SAMPLE2_PROPERTIES, tStart), 16u);
  EXPECT_EQ(offsetof(D_AM_SAMPLE2_PROPERTIES, dwStreamId), 32u);
  EXPECT_EQ(sizeof(D_ALLOCATOR_PROPERTIES), 16u);
}

TEST_F(MediaSampleTest, TimesAndMediaTimes) {
  D_REFERENCE_TIME start = 0, stop = 0;
  EXPECT_EQ(sample_->GetTime(&start, &stop), D_VFW_E_SAMPLE_TIME_NOT_SET);
  D_REFERENCE_TIME set_start = 1000, set_stop = 2000;
  sample_->SetTime(&set_start, nullptr);
  EXPECT_EQ(sample_->GetTime(&start, &stop), D_VFW_S_NO_STOP_TIME);
  EXPECT_EQ(start, 1000);
  EXPECT_EQ(stop, 1001);
  sample_->SetTime(&set_start, &set_stop);
  EXPECT_EQ(sample_->GetTime(&start, &stop), S_OK);
  EXPECT_EQ(stop, 2000);
  sample_->SetTime(nullptr, nullptr);
  EXPECT_EQ(sample_->GetTime(&start, &stop), D_VFW_E_SAMPLE_TIME_NOT_SET);

  LONGLONG media_start = 0, media_end = 0;
  EXPECT_EQ(sample_->GetMediaTime(&media_start, &media_end), D_VFW_E_MEDIA_TIME_NOT_SET);
  LONGLONG from = 5'000'000'000LL, to = 5'000'000'300LL;
  sample_->SetMediaTime(&from, &to);
  EXPECT_EQ(sample_->GetMediaTime(&media_start, &media_end), S_OK);
  EXPECT_EQ(media_start, from);
  EXPECT_EQ(media_end, to);
  // The media time is not part of the properties record.
  EXPECT_EQ(Properties().dwSampleFlags & D_AM_SAMPLE_MEDIATIMEVALID, 0u);
}

TEST_F(MediaSampleTest, FlagsLengthAndMediaTypeAreClearedWhenTheSampleComesBack) {
  EXPECT_EQ(sample_->IsSyncPoint(), S_FALSE);
  sample_->SetSyncPoint(TRUE);
  sample_->SetDiscontinuity(TRUE);
  EXPECT_EQ(sample_->IsSyncPoint(), S_OK);
  EXPECT_EQ(sample_->IsDiscontinuity(), S_OK);
  EXPECT_EQ(sample_->IsPreroll(), S_FALSE);
  EXPECT_EQ(sample_->SetActualDataLength(101), D_VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(sample_->SetActualDataLength(50), S_OK);

  D_AM_MEDIA_TYPE* type = nullptr;
  EXPECT_EQ(sample_->GetMediaType(&type), S_FALSE);
  EXPECT_EQ(type, nullptr);
  BYTE format[6] = {1, 2, 3, 4, 5, 6};
  D_AM_MEDIA_TYPE given{};
  given.lSampleSize = 4;
  given.cbFormat = sizeof(format);
  given.pbFormat = format;
  ASSERT_EQ(sample_->SetMediaType(&given), S_OK);
  ASSERT_EQ(sample_->GetMediaType(&type), S_OK);
  ASSERT_NE(type, nullptr);
  EXPECT_NE(type->pbFormat, format);  // a copy of its own
  EXPECT_EQ(std::memcmp(type->pbFormat, format, sizeof(format)), 0);
  CoTaskMemFree(type->pbFormat);
  CoTaskMemFree(type);

  sample_->Release();
  sample_ = nullptr;
  D_IMediaSample* again = nullptr;
  ASSERT_EQ(allocator_->GetBuffer(&again, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(again->IsSyncPoint(), S_FALSE);
  EXPECT_EQ(again->IsDiscontinuity(), S_FALSE);
  EXPECT_EQ(again->GetMediaType(&type), S_FALSE);
  again->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&sample_));
  again->Release();
}

TEST_F(MediaSampleTest, PropertiesRecordIsCheckedBeforeAnythingChanges) {
  D_AM_SAMPLE2_PROPERTIES record = Properties();
  EXPECT_EQ(record.cbData, sizeof(record));
  EXPECT_EQ(record.cbBuffer, 100);
  struct Case {
    const char* what;
    void (*change)(D_AM_SAMPLE2_PROPERTIES&);
    DWORD size;
    HRESULT expected;
  };
  const Case cases[] = {
      {"record too long", [](D_AM_SAMPLE2_PROPERTIES& r) { r.cbData = sizeof(r) + 1; }, sizeof(record), E_INVALIDARG},
      {"unknown flag", [](D_AM_SAMPLE2_PROPERTIES& r) { r.dwSampleFlags = 0x200; }, sizeof(record), E_INVALIDARG},
      {"time valid without the stop time",
       [](D_AM_SAMPLE2_PROPERTIES& r) {
         r.dwSampleFlags = D_AM_SAMPLE_TIMEVALID;
         r.cbData = offsetof(D_AM_SAMPLE2_PROPERTIES, tStop);
       },
       sizeof(record), E_INVALIDARG},
      {"another buffer", [](D_AM_SAMPLE2_PROPERTIES& r) { ++r.pbBuffer; }, sizeof(record), E_INVALIDARG},
      {"another buffer size", [](D_AM_SAMPLE2_PROPERTIES& r) { r.cbBuffer = 99; }, sizeof(record), E_INVALIDARG},
      {"length past the buffer", [](D_AM_SAMPLE2_PROPERTIES& r) { r.lActual = 101; }, sizeof(record), E_INVALIDARG},
      {"type changed without a type",
       [](D_AM_SAMPLE2_PROPERTIES& r) {
         r.dwSampleFlags = D_AM_SAMPLE_TYPECHANGED;
         r.pMediaType = nullptr;
       },
       sizeof(record), E_POINTER},
      {"too short to read", [](D_AM_SAMPLE2_PROPERTIES& r) { r.lActual = 101; }, 3, S_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D_AM_SAMPLE2_PROPERTIES changed = record;
    c.change(changed);
    EXPECT_EQ(sample_->SetProperties(c.size, reinterpret_cast<const BYTE*>(&changed)), c.expected);
    EXPECT_EQ(sample_->GetActualDataLength(), 100);
    EXPECT_EQ(Properties().dwSampleFlags, 0u);
  }

  // A record cut after the length sets flags and length only.
  D_AM_SAMPLE2_PROPERTIES partial = record;
  partial.cbData = offsetof(D_AM_SAMPLE2_PROPERTIES, tStart);
  partial.dwSampleFlags = D_AM_SAMPLE_SPLICEPOINT;
  partial.lActual = 40;
  partial.dwStreamId = 9;
  ASSERT_EQ(sample_->SetProperties(sizeof(partial), reinterpret_cast<const BYTE*>(&partial)), S_OK);
  EXPECT_EQ(sample_->IsSyncPoint(), S_OK);
  EXPECT_EQ(sample_->GetActualDataLength(), 40);
  EXPECT_EQ(Properties().dwStreamId, 0u);
}

}  // namespace
