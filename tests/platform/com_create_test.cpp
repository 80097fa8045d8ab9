#include <gtest/gtest.h>

#include <array>

#include "ole32/com_class_table.h"
#include "platform/control.h"
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

const wqplat::ComClassDefinition kClasses[] = {{kCounterClass, &CreateCountedObject}};
const wqplat::ComClassTable kTable{"test", kClasses};
const std::array<const wqplat::ComClassTable*, 1> kTables{&kTable};

TEST(ComCreateTest, ARegisteredClassIsCreatedAndQueriedForTheInterface) {
  void* object = nullptr;
  ASSERT_EQ(wqplat::CreateComObject(kTables, kCounterClass, IID_IUnknown, &object), S_OK);
  auto* unknown = static_cast<IUnknown*>(object);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(unknown->Release(), 0u);

  EXPECT_EQ(wqplat::CreateComObject(kTables, kCounterClass, kOtherInterface, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
}

TEST(ComCreateTest, AClassMadeAbsentIsNotRegistered) {
  WqControlSetComClassAbsent(kCounterClass, true);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(wqplat::CreateComObject(kTables, kCounterClass, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  WqControlSetComClassAbsent(kCounterClass, false);
  ASSERT_EQ(wqplat::CreateComObject(kTables, kCounterClass, IID_IUnknown, &object), S_OK);
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
  auto* outer = reinterpret_cast<IUnknown*>(&object);
  EXPECT_EQ(CoCreateInstance(kCounterClass, outer, CLSCTX_ALL, IID_IUnknown, &object),
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
      {"User32.dll", "UpdateLayeredWindow", false}, {"Imm32.dll", "ImmGetContext", true},
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
