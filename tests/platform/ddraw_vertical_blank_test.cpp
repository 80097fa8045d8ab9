#include <gtest/gtest.h>

#include "ddraw/vertical_blank.h"
#include "platform/control.h"
#include "platform/ddraw.h"
#include "platform/windows.h"

namespace {

struct BlankCase {
  std::uint64_t time_us;
  int refresh_hz;
  std::uint64_t blank_us;
};

TEST(VerticalBlankTest, BlanksFallOnWholePeriodsWithoutDrift) {
  const BlankCase cases[] = {
      {0, 60, 0},           {1, 60, 16667},         {16667, 60, 16667},
      {16668, 60, 33334},   {1000000, 60, 1000000}, {999999, 60, 1000000},
      {60000000, 75, 60000000}, {60000001, 75, 60013334}, {5, 0, 16667},
  };
  for (const BlankCase& c : cases) {
    EXPECT_EQ(wqplat::NextVerticalBlankUs(c.time_us, c.refresh_hz), c.blank_us)
        << c.time_us << " at " << c.refresh_hz;
  }
}

class DirectDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                               reinterpret_cast<void**>(&direct_draw_)),
              S_OK);
  }
  void TearDown() override {
    if (direct_draw_) {
      EXPECT_EQ(direct_draw_->Release(), 0u);
    }
    CoUninitialize();
  }

  D_IDirectDraw7* direct_draw_ = nullptr;
};

TEST_F(DirectDrawTest, InitialisesOnceAndTakesANormalCooperativeLevel) {
  EXPECT_EQ(direct_draw_->WaitForVerticalBlank(D_DDWAITVB_BLOCKBEGIN, nullptr), D_DDERR_NOTINITIALIZED);
  ASSERT_EQ(direct_draw_->Initialize(nullptr), D_DD_OK);
  EXPECT_EQ(direct_draw_->Initialize(nullptr), D_DDERR_ALREADYINITIALIZED);
  EXPECT_EQ(direct_draw_->SetCooperativeLevel(nullptr, D_DDSCL_NORMAL | D_DDSCL_FPUPRESERVE), D_DD_OK);
  EXPECT_EQ(direct_draw_->SetCooperativeLevel(nullptr, D_DDSCL_NORMAL | D_DDSCL_EXCLUSIVE),
            D_DDERR_INVALIDPARAMS);
  EXPECT_EQ(direct_draw_->WaitForVerticalBlank(D_DDWAITVB_BLOCKBEGINEVENT, nullptr), D_DDERR_UNSUPPORTED);
}

TEST_F(DirectDrawTest, WaitsEndOnSuccessiveTicksOfTheDisplayClock) {
  ASSERT_EQ(direct_draw_->Initialize(nullptr), D_DD_OK);
  WqControlEnableVirtualClock(true);
  WqControlAdvanceVirtualClock(1234);
  ASSERT_EQ(direct_draw_->WaitForVerticalBlank(D_DDWAITVB_BLOCKBEGIN, nullptr), D_DD_OK);
  std::uint64_t first = WqControlGetVirtualClockUs();
  EXPECT_EQ(first, wqplat::NextVerticalBlankUs(first, 60));
  ASSERT_EQ(direct_draw_->WaitForVerticalBlank(D_DDWAITVB_BLOCKBEGIN, nullptr), D_DD_OK);
  std::uint64_t second = WqControlGetVirtualClockUs();
  EXPECT_GE(second - first, 16666u);
  EXPECT_LE(second - first, 16667u);
  WqControlEnableVirtualClock(false);
}

TEST(DirectDrawClassTest, AnAbsentClassCannotBeCreated) {
  CoInitialize(nullptr);
  WqControlSetComClassAbsent(CLSID_DirectDraw7, true);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, CLSCTX_ALL, IID_IDirectDraw7, &object),
            REGDB_E_CLASSNOTREG);
  WqControlSetComClassAbsent(CLSID_DirectDraw7, false);
  CoUninitialize();
}

}  // namespace
