// The COM base of the filter classes: reference counts, aggregation, the
// live-object count, the type-library dispatch and filter registration.
#include <gtest/gtest.h>

#include "media/filters/base_dispatch.h"
#include "media/filters/filter_registration.h"
#include "test_filters.h"

namespace {

using wqtest::FilterTest;

// An object that counts its destructions and, while it is destroyed,
// takes and drops a reference on itself as a cached interface would.
class Counted : public D_CUnknown {
 public:
  Counted(IUnknown* outer, int* destroyed) : D_CUnknown("Counted", outer), destroyed_(destroyed) {}
  ~Counted() override {
    GetNonDelegatingUnknown()->AddRef();
    GetNonDelegatingUnknown()->Release();
    ++*destroyed_;
  }

 private:
  int* destroyed_;
};

// An outer object that records the calls its inner objects delegate to it.
class RecordingOuter : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void** object) override {
    ++queries;
    *object = this;
    return S_OK;
  }
  ULONG AddRef() override { return static_cast<ULONG>(++references); }
  ULONG Release() override { return static_cast<ULONG>(--references); }
  int queries = 0;
  int references = 0;
};

using ComObjectTest = FilterTest;

constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);

TEST_F(ComObjectTest, CountStartsAtZeroAndTheLastReleaseDestroysOnce) {
  int destroyed = 0;
  const LONG before = GetLiveFilterObjectCount();
  auto* object = new Counted(nullptr, &destroyed);
  EXPECT_EQ(object->GetReferenceCount(), 0);
  EXPECT_EQ(GetLiveFilterObjectCount(), before + 1);
  IUnknown* unknown = object->GetNonDelegatingUnknown();
  EXPECT_EQ(unknown->AddRef(), 1u);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(unknown->Release(), 0u);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(GetLiveFilterObjectCount(), before);
}

TEST_F(ComObjectTest, QueryInterfaceGivesTheNonDelegatingUnknownOnly) {
  int destroyed = 0;
  auto* object = new Counted(nullptr, &destroyed);
  void* got = nullptr;
  EXPECT_EQ(object->NonDelegatingQueryInterface(IID_IUnknown, nullptr), E_POINTER);
  ASSERT_EQ(object->NonDelegatingQueryInterface(IID_IUnknown, &got), S_OK);
  EXPECT_EQ(got, object->GetNonDelegatingUnknown());
  EXPECT_EQ(object->GetReferenceCount(), 1);
  got = &destroyed;
  EXPECT_EQ(object->NonDelegatingQueryInterface(D_IID_IPin, &got), E_NOINTERFACE);
  EXPECT_EQ(got, nullptr);
  object->GetNonDelegatingUnknown()->Release();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ComObjectTest, AnAggregatedObjectDelegatesToItsOuter) {
  int destroyed = 0;
  RecordingOuter outer;
  auto* object = new Counted(&outer, &destroyed);
  EXPECT_EQ(object->GetOwner(), &outer);
  object->DelegateAddRefToOwner();
  void* got = nullptr;
  object->DelegateQueryInterfaceToOwner(D_IID_IPin, &got);
  object->DelegateReleaseToOwner();
  EXPECT_EQ(outer.queries, 1);
  EXPECT_EQ(outer.references, 0);
  EXPECT_EQ(object->GetReferenceCount(), 0) << "the inner count is the outer's business";
  // The outer holds the inner through its non-delegating unknown.
  object->GetNonDelegatingUnknown()->AddRef();
  object->GetNonDelegatingUnknown()->Release();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ComObjectTest, PinsLiveOnTheirFiltersCount) {
  auto* filter = new wqtest::TestSinkFilter;
  filter->AsBaseFilter()->AddRef();
  D_IPin* pin = filter->Input().AsPin();
  EXPECT_EQ(pin->AddRef(), 2u);
  EXPECT_EQ(filter->GetReferenceCount(), 2);
  EXPECT_EQ(filter->Input().GetReferenceCount(), 0);
  EXPECT_EQ(filter->AsBaseFilter()->Release(), 1u);
  // The pin's reference keeps the filter alive.
  EXPECT_EQ(pin->Release(), 0u);
}

TEST_F(ComObjectTest, HelpersCheckTheirOutPointers) {
  EXPECT_EQ(ReturnInterface(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(CopyWideStringToTaskMemory(u"In", nullptr), E_POINTER);
  WCHAR* copy = nullptr;
  ASSERT_EQ(CopyWideStringToTaskMemory(u"Renderer pin", &copy), S_OK);
  EXPECT_EQ(std::u16string(copy), u"Renderer pin");
  CoTaskMemFree(copy);
}

TEST_F(ComObjectTest, TypeInfoIndexOtherThanZeroLoadsNothing) {
  D_CBaseDispatch dispatch;
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&dispatch);
  EXPECT_EQ(dispatch.GetTypeInfo(D_IID_IMediaPosition, 1, 0, &info), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(info, nullptr);
  EXPECT_EQ(GetAutomationModule(), nullptr);
  UINT count = 0;
  EXPECT_EQ(dispatch.GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(dispatch.GetTypeInfoCount(nullptr), E_POINTER);
}

TEST_F(ComObjectTest, WithoutTheAutomationLibraryTheTypeInfoFailsWithTheLoadError) {
  D_CBaseDispatch dispatch;
  ITypeInfo* info = nullptr;
  const HRESULT result = dispatch.GetTypeInfo(D_IID_IMediaPosition, 0, 0, &info);
  EXPECT_TRUE(FAILED(result));
  EXPECT_EQ(static_cast<DWORD>(result) & 0xFFFF0000u, 0x80070000u);
  EXPECT_EQ(info, nullptr);
}

// A mapper that answers every call with a chosen result and counts them.
class RecordingMapper : public D_IFilterMapper {
 public:
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT RegisterFilter(CLSID, LPCWSTR, DWORD) override { return ++filters, registerResult; }
  HRESULT RegisterFilterInstance(CLSID, LPCWSTR, CLSID*) override { return E_NOTIMPL; }
  HRESULT RegisterPin(CLSID, LPCWSTR, BOOL, BOOL, BOOL, BOOL, CLSID, LPCWSTR) override {
    return ++pins, pinResult;
  }
  HRESULT RegisterPinType(CLSID, LPCWSTR, CLSID, CLSID) override { return ++types, typeResult; }
  HRESULT UnregisterFilter(CLSID) override { return unregisterResult; }
  HRESULT UnregisterFilterInstance(CLSID) override { return E_NOTIMPL; }
  HRESULT UnregisterPin(CLSID, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT EnumMatchingFilters(IUnknown**, DWORD, BOOL, CLSID, CLSID, BOOL, BOOL, CLSID, CLSID) override {
    return E_NOTIMPL;
  }
  HRESULT registerResult = S_OK;
  HRESULT pinResult = S_OK;
  HRESULT typeResult = S_OK;
  HRESULT unregisterResult = kFileNotFoundResult;
  int filters = 0;
  int pins = 0;
  int types = 0;
};

TEST(FilterRegistrationTest, RegistersEveryPinAndTypeAndReadsFileNotFoundAsSuccess) {
  static const CLSID clsid = wqtest::TestGuid(1);
  static const GUID major = wqtest::TestGuid(2);
  static const GUID minor = wqtest::TestGuid(3);
  static const D_AMOVIESETUP_MEDIATYPE types[] = {{&major, &minor}, {&major, &minor}};
  static const D_AMOVIESETUP_PIN pins[] = {{const_cast<LPWSTR>(u"In"), FALSE, FALSE, FALSE, FALSE, &GUID_NULL,
                                            nullptr, 2, types}};
  const D_AMOVIESETUP_FILTER setup{&clsid, u"Test", 0x200000, 1, pins};
  RecordingMapper mapper;
  EXPECT_EQ(RegisterFilterWithMapper(nullptr, &mapper, TRUE), S_FALSE);
  EXPECT_EQ(RegisterFilterWithMapper(&setup, &mapper, FALSE), S_OK) << "never registered";
  mapper.registerResult = kFileNotFoundResult;
  EXPECT_EQ(RegisterFilterWithMapper(&setup, &mapper, TRUE), S_OK);
  EXPECT_EQ(mapper.filters, 1);
  EXPECT_EQ(mapper.pins, 1);
  EXPECT_EQ(mapper.types, 2);
  mapper.typeResult = kAccessDenied;
  EXPECT_EQ(RegisterFilterWithMapper(&setup, &mapper, TRUE), kAccessDenied);
  EXPECT_EQ(mapper.types, 3) << "the first failing type ends the registration";
}

TEST_F(ComObjectTest, AFilterWithoutSetUpDataHasNothingToRegister) {
  auto* filter = new wqtest::TestSinkFilter;
  filter->AsBaseFilter()->AddRef();
  D_IAMovieSetup* setup = nullptr;
  ASSERT_EQ(filter->AsBaseFilter()->QueryInterface(D_IID_IAMovieSetup, reinterpret_cast<void**>(&setup)), S_OK);
  EXPECT_EQ(setup->Register(), S_FALSE);
  EXPECT_EQ(setup->Unregister(), S_FALSE);
  setup->Release();
  filter->AsBaseFilter()->Release();
}

}  // namespace
