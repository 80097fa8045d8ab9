#include <gtest/gtest.h>

#include <array>

#include "ole32/com_class_table.h"
#include "platform/control.h"
#include "platform/dsound.h"
#include "platform/dwmapi.h"
#include "platform/ole32.h"
#include "platform/windows.h"

namespace {

constexpr CLSID kCounterClass = {0x1234ABCD, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID kOtherInterface = {0x1234ABCD, 0x0001, 0x0002, {8, 7, 6, 5, 4, 3, 2, 1}};

class CountedObject final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!(iid == IID_IUnknown)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IUnknown*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG references_ = 0;
};

HRESULT CreateCountedObject(REFIID iid, void** object) {
  auto* created = new CountedObject;
  created->AddRef();
  HRESULT result = created->QueryInterface(iid, object);
  created->Release();
  return result;
}

constexpr CLSID kPartClass = {0x1234ABCD, 0x0001, 0x0003, {1, 2, 3, 4, 5, 6, 7, 8}};

// An aggregatable class: its inner IUnknown counts the part's own
// references; kOtherInterface delegates every IUnknown call to the outer.
class AggregatedPart {
 public:
  explicit AggregatedPart(IUnknown* outer) : outer_(outer) {}

  class Inner final : public IUnknown {
   public:
    explicit Inner(AggregatedPart* part) : part_(part) {}
    HRESULT QueryInterface(REFIID iid, void** object) override {
      if (iid == IID_IUnknown) {
        AddRef();
        *object = this;
        return S_OK;
      }
      if (iid == kOtherInterface) {
        part_->face_.AddRef();
        *object = &part_->face_;
        return S_OK;
      }
      *object = nullptr;
      return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
      const ULONG left = --references_;
      if (left == 0) delete part_;
      return left;
    }

   private:
    AggregatedPart* part_;
    ULONG references_ = 1;
  };

  class Face final : public IUnknown {
   public:
    explicit Face(AggregatedPart* part) : part_(part) {}
    HRESULT QueryInterface(REFIID iid, void** object) override { return part_->outer_->QueryInterface(iid, object); }
    ULONG AddRef() override { return part_->outer_->AddRef(); }
    ULONG Release() override { return part_->outer_->Release(); }

   private:
    AggregatedPart* part_;
  };

  IUnknown* outer_;
  Inner inner_{this};
  Face face_{this};
};

HRESULT CreatePartAggregated(LPUNKNOWN outer, IUnknown** inner) {
  *inner = &(new AggregatedPart(outer))->inner_;
  return S_OK;
}

// The outer object: answers kOtherInterface through the part it holds.
class Whole final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown) {
      AddRef();
      *object = this;
      return S_OK;
    }
    return part_ ? part_->QueryInterface(iid, object) : E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }

  IUnknown* part_ = nullptr;
  ULONG references_ = 1;
};

const wqplat::ComClassDefinition kClasses[] = {{kCounterClass, &CreateCountedObject},
                                               {kPartClass, &CreateCountedObject, &CreatePartAggregated}};
const wqplat::ComClassTable kTable{"test", kClasses};
const std::array<const wqplat::ComClassTable*, 1> kTables{&kTable};

TEST(ComCreateTest, ARegisteredClassIsCreatedAndQueriedForTheInterface) {
  void* object = nullptr;
  ASSERT_EQ(wqplat::CreateComObject(kTables, kCounterClass, nullptr, IID_IUnknown, &object), S_OK);
  auto* unknown = static_cast<IUnknown*>(object);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(unknown->Release(), 0u);

  EXPECT_EQ(wqplat::CreateComObject(kTables, kCounterClass, nullptr, kOtherInterface, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
}

TEST(ComCreateTest, AggregationGivesTheInnerUnknownWhoseInterfacesDelegateToTheOuter) {
  Whole whole;
  void* object = reinterpret_cast<void*>(1);
  // Only classes that support it are aggregated, and only for IUnknown.
  EXPECT_EQ(wqplat::CreateComObject(kTables, kCounterClass, &whole, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(wqplat::CreateComObject(kTables, kPartClass, &whole, kOtherInterface, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);

  ASSERT_EQ(wqplat::CreateComObject(kTables, kPartClass, &whole, IID_IUnknown, &object), S_OK);
  whole.part_ = static_cast<IUnknown*>(object);
  void* face = nullptr;
  ASSERT_EQ(whole.QueryInterface(kOtherInterface, &face), S_OK);
  EXPECT_EQ(whole.references_, 2u);  // the face's reference is the outer's
  void* back = nullptr;
  ASSERT_EQ(static_cast<IUnknown*>(face)->QueryInterface(IID_IUnknown, &back), S_OK);
  EXPECT_EQ(back, &whole);  // identity is the outer's
  EXPECT_EQ(whole.references_, 3u);
  static_cast<IUnknown*>(face)->Release();
  whole.Release();
  EXPECT_EQ(whole.part_->Release(), 0u);  // the inner reference frees the part
}

TEST(ComCreateTest, AClassMadeAbsentIsNotRegistered) {
  WqControlSetComClassAbsent(kCounterClass, true);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(wqplat::CreateComObject(kTables, kCounterClass, nullptr, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  WqControlSetComClassAbsent(kCounterClass, false);
  ASSERT_EQ(wqplat::CreateComObject(kTables, kCounterClass, nullptr, IID_IUnknown, &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
}

TEST(ComCreateTest, CoCreateInstanceNeedsCoInitializeAndKnowsOnlyTheLayersClasses) {
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kCounterClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
            CO_E_NOTINITIALIZED);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoCreateInstance(kCounterClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  // dsound's device cannot be aggregated.
  Whole outer;
  EXPECT_EQ(CoCreateInstance(CLSID_DirectSound, &outer, CLSCTX_ALL, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoCreateInstance(kCounterClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
            CO_E_NOTINITIALIZED);
}

TEST(ComCreateTest, StartUpFindsItsRunTimeEntryPointsByName) {
  struct Lookup {
    const char* module;
    const char* entry;
    bool present;
  };
  const Lookup lookups[] = {
      {"ole32.dll", "CoCreateInstance", true},    {"ole32.dll", "CoFreeUnusedLibraries", true},
      {"ole32.dll", "CoTaskMemAlloc", true},      {"comctl32.dll", "InitCommonControls", true},
      {"dwmapi.dll", "DwmEnableComposition", true}, {"User32.dll", "WINNLSEnableIME", true},
      {"User32.dll", "UpdateLayeredWindow", true}, {"Imm32.dll", "ImmGetContext", true},
  };
  for (const Lookup& lookup : lookups) {
    SCOPED_TRACE(lookup.entry);
    HMODULE module = LoadLibraryA(lookup.module);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetProcAddress(module, lookup.entry) != nullptr, lookup.present);
    FreeLibrary(module);
  }
  using EnableComposition = HRESULT (*)(UINT);
  HMODULE dwmapi = LoadLibraryA("dwmapi.dll");
  auto enable = reinterpret_cast<EnableComposition>(GetProcAddress(dwmapi, "DwmEnableComposition"));
  EXPECT_EQ(enable(DWM_EC_DISABLECOMPOSITION), S_OK);
  FreeLibrary(dwmapi);
}

TEST(ComCreateTest, TaskMemoryIsUsable) {
  auto* bytes = static_cast<unsigned char*>(CoTaskMemAlloc(16));
  ASSERT_NE(bytes, nullptr);
  bytes[15] = 0xAB;
  CoTaskMemFree(bytes);
  CoTaskMemFree(nullptr);
}

}  // namespace
