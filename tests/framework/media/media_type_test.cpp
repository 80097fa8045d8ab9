// Media types, the node-caching list and the two enumerators.
#include <gtest/gtest.h>

#include "media/filters/enumerators.h"
#include "test_filters.h"

namespace {

using wqtest::MakeType;
using wqtest::TestGuid;

// A format object that counts its references.
class CountedFormat : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return static_cast<ULONG>(++references); }
  ULONG Release() override { return static_cast<ULONG>(--references); }
  int references = 1;
};

TEST(MediaTypeTest, ANewTypeIsEmptyWithFixedOneByteSamples) {
  static_assert(sizeof(D_AM_MEDIA_TYPE) == offsetof(D_AM_MEDIA_TYPE, pbFormat) + sizeof(BYTE*));
  const D_CMediaType type;
  EXPECT_EQ(type.majortype, GUID_NULL);
  EXPECT_EQ(type.formattype, GUID_NULL);
  EXPECT_EQ(type.bFixedSizeSamples, TRUE);
  EXPECT_EQ(type.lSampleSize, 1u);
  EXPECT_EQ(type.cbFormat, 0u);
  EXPECT_TRUE(type.IsPartiallySpecified());
}

TEST(MediaTypeTest, CopiesOwnTheirFormatBlockAndReferenceTheFormatObject) {
  CountedFormat object;
  D_CMediaType original = MakeType(TestGuid(1), TestGuid(2), TestGuid(3), {1, 2, 3, 4});
  original.pUnk = &object;
  object.AddRef();
  {
    const D_CMediaType copy(original);
    EXPECT_NE(copy.pbFormat, original.pbFormat);
    EXPECT_TRUE(copy == original);
    EXPECT_EQ(object.references, 3);
    original.pbFormat[0] = 9;
    EXPECT_TRUE(copy != original) << "the format blocks are compared byte for byte";
  }
  EXPECT_EQ(object.references, 2);
  EXPECT_EQ(original.Set(original), S_OK);
  EXPECT_EQ(original.pbFormat[0], 9) << "setting a type onto itself leaves it as it was";
  EXPECT_EQ(object.references, 2);
}

TEST(MediaTypeTest, PartialTypesMatchWhatTheyLeaveOpen) {
  const D_CMediaType full = MakeType(TestGuid(1), TestGuid(2), TestGuid(3), {7, 7});
  struct Case {
    const char* name;
    D_CMediaType partial;
    bool matches;
  };
  const Case cases[] = {
      {"empty", D_CMediaType(), true},
      {"major only", MakeType(TestGuid(1), GUID_NULL), true},
      {"other major", MakeType(TestGuid(4), GUID_NULL), false},
      {"major and subtype", MakeType(TestGuid(1), TestGuid(2)), true},
      {"other subtype", MakeType(TestGuid(1), TestGuid(5)), false},
      {"same format block", MakeType(TestGuid(1), TestGuid(2), TestGuid(3), {7, 7}), true},
      {"other format block", MakeType(TestGuid(1), TestGuid(2), TestGuid(3), {7, 8}), false},
      {"format type without block", MakeType(GUID_NULL, GUID_NULL, TestGuid(3)), false},
  };
  for (const Case& c : cases) EXPECT_EQ(full.MatchesPartial(&c.partial), c.matches) << c.name;
}

TEST(BaseListTest, KeepsOrderAndRecyclesUpToTenNodes) {
  D_CGenericList<int> list("test");
  int values[12];
  D_CBaseList::Position positions[12];
  for (int i = 0; i < 12; ++i) positions[i] = list.AddTail(&values[i]);
  EXPECT_EQ(list.GetCount(), 12);
  EXPECT_EQ(list.Find(&values[5]), positions[5]);
  D_CBaseList::Position walk = list.GetHeadPosition();
  for (int i = 0; i < 12; ++i) EXPECT_EQ(list.GetNext(walk), &values[i]);
  EXPECT_EQ(walk, nullptr);
  EXPECT_EQ(list.GetNext(walk), nullptr);
  EXPECT_EQ(list.Next(nullptr), list.GetHeadPosition());
  for (int i = 0; i < 11; ++i) EXPECT_EQ(list.RemoveHead(), &values[i]);
  EXPECT_EQ(list.GetCachedNodeCount(), 10) << "the eleventh removed node is freed";
  EXPECT_EQ(list.Remove(nullptr), nullptr);
  // New nodes come from the cache first.
  list.AddTail(&values[0]);
  EXPECT_EQ(list.GetCachedNodeCount(), 9);
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

class EnumeratorTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    source_ = new wqtest::TestSourceFilter;
    source_->AsBaseFilter()->AddRef();
    source_->pin.proposed = {MakeType(TestGuid(1), TestGuid(2)), MakeType(TestGuid(1), TestGuid(3))};
    sink_ = new wqtest::TestSinkFilter;
    sink_->AsBaseFilter()->AddRef();
  }
  void TearDown() override {
    source_->AsBaseFilter()->Release();
    sink_->AsBaseFilter()->Release();
    FilterTest::TearDown();
  }
  static void FreeTypes(D_AM_MEDIA_TYPE** types, ULONG count) {
    for (ULONG i = 0; i < count; ++i) DeleteMediaType(types[i]);
  }

  wqtest::TestSourceFilter* source_ = nullptr;
  wqtest::TestSinkFilter* sink_ = nullptr;
};

TEST_F(EnumeratorTest, MediaTypesComeOutUntilThePinHasNoMore) {
  D_IEnumMediaTypes* types = nullptr;
  ASSERT_EQ(source_->pin.EnumMediaTypes(&types), S_OK);
  D_AM_MEDIA_TYPE* got[5] = {};
  ULONG fetched = 9;
  EXPECT_EQ(types->Next(2, got, nullptr), E_INVALIDARG);
  EXPECT_EQ(types->Next(1, nullptr, &fetched), E_POINTER);
  EXPECT_EQ(types->Next(5, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(got[1]->subtype, TestGuid(3));
  FreeTypes(got, fetched);
  EXPECT_EQ(types->Next(1, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(types->Reset(), S_OK);
  EXPECT_EQ(types->Skip(1), S_OK);
  EXPECT_EQ(types->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0]->subtype, TestGuid(3));
  FreeTypes(got, 1);
  EXPECT_EQ(types->Skip(1), S_FALSE);
  types->Release();
}

TEST_F(EnumeratorTest, AChangedTypeVersionPutsTheEnumeratorOutOfSyncUntilReset) {
  D_IEnumMediaTypes* types = nullptr;
  ASSERT_EQ(source_->pin.EnumMediaTypes(&types), S_OK);
  source_->pin.IncrementTypeVersion();
  D_AM_MEDIA_TYPE* got = nullptr;
  EXPECT_EQ(types->Next(1, &got, nullptr), D_VFW_E_ENUM_OUT_OF_SYNC);
  D_IEnumMediaTypes* clone = types;
  EXPECT_EQ(types->Clone(&clone), D_VFW_E_ENUM_OUT_OF_SYNC);
  EXPECT_EQ(clone, nullptr);
  EXPECT_EQ(types->Reset(), S_OK);
  ASSERT_EQ(types->Next(1, &got, nullptr), S_OK);
  FreeTypes(&got, 1);
  ASSERT_EQ(types->Clone(&clone), S_OK);
  ASSERT_EQ(clone->Next(1, &got, nullptr), S_OK);
  EXPECT_EQ(got->subtype, TestGuid(3)) << "a clone continues where its original stands";
  FreeTypes(&got, 1);
  clone->Release();
  types->Release();
}

TEST_F(EnumeratorTest, APinEnumeratorFollowsAGrowingPinSetWithoutRepeats) {
  D_IEnumPins* pins = nullptr;
  ASSERT_EQ(sink_->AsBaseFilter()->EnumPins(&pins), S_OK);
  D_IPin* got[4] = {};
  ULONG fetched = 0;
  ASSERT_EQ(pins->Next(1, got, &fetched), S_OK);
  EXPECT_EQ(got[0], sink_->pins[0]->AsPin());
  got[0]->Release();
  sink_->AddPin(u"Second");
  sink_->AddPin(u"Third");
  EXPECT_EQ(pins->Next(4, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(got[0], sink_->pins[1]->AsPin());
  EXPECT_EQ(got[1], sink_->pins[2]->AsPin());
  got[0]->Release();
  got[1]->Release();
  EXPECT_EQ(pins->Skip(1), S_FALSE);
  EXPECT_EQ(pins->Reset(), S_OK);
  EXPECT_EQ(pins->Next(4, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 3u) << "a reset hands every pin out again";
  for (ULONG i = 0; i < fetched; ++i) got[i]->Release();
  pins->Release();
}

}  // namespace
