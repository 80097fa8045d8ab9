// The graph handle table: handle layout, refusal of handles that are not a
// live graph's, check-value wrap-around and table exhaustion.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "graphics/graph_record.h"
#include "graphics_fixture.h"

namespace {

TEST(GraphHandles, HandleCarriesKindCheckAndSlotAndFindsItsRecord) {
  const int first = AllocGraphHandle();
  const int second = AllocGraphHandle();
  EXPECT_EQ(first, kGraphHandleKind | 0);
  EXPECT_EQ(second, kGraphHandleKind | (1 << 16) | 1);
  GraphRecord* record = FindGraphRecord(second);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->handle, second);
  EXPECT_EQ(record->movie, -1);
  EXPECT_EQ(record->image, nullptr);
}

TEST(GraphHandles, RefusesEveryHandleThatIsNotALiveGraph) {
  const int freed = AllocGraphHandle();
  ASSERT_EQ(FreeGraphHandle(freed), 0);
  const int reused = AllocGraphHandle();  // the freed top slot again, new check value
  const int live = AllocGraphHandle();
  ASSERT_EQ(reused & 0xFFFF, freed & 0xFFFF);
  ASSERT_NE(reused, freed);
  struct Case {
    const char* what;
    int handle;
  };
  const std::vector<Case> cases = {
      {"negative", -1},
      {"another kind", (live & ~0x78000000) | 0x58000000},
      {"slot past the table", kGraphHandleKind | kGraphSlotCount},
      {"empty slot", kGraphHandleKind | (live & 0x07FF0000) | 100},
      {"stale check value", freed},
      {"check value of another live handle", (reused & ~0xFFFF) | (live & 0xFFFF)},
  };
  for (const Case& c : cases) EXPECT_EQ(FindGraphRecord(c.handle), nullptr) << c.what;
  EXPECT_NE(FindGraphRecord(live), nullptr);
  EXPECT_NE(FindGraphRecord(reused), nullptr);
  EXPECT_EQ(FreeGraphHandle(freed), -1);
}

TEST(GraphHandles, CheckValueWrapsAfter2048Allocations) {
  const int first = AllocGraphHandle();
  ASSERT_EQ(FreeGraphHandle(first), 0);
  int last = first;
  for (int n = 1; n < 2048; ++n) {
    last = AllocGraphHandle();
    ASSERT_EQ(FreeGraphHandle(last), 0);
  }
  EXPECT_EQ(last, kGraphHandleKind | (2047 << 16));
  EXPECT_EQ(AllocGraphHandle(), first);
  EXPECT_EQ(FindGraphRecord(last), nullptr);
}

class GraphHandleLimitTest : public wqtest::GraphicsTest {};

TEST_F(GraphHandleLimitTest, LastSlotIsGivenAndOneMoreEndsTheProgram) {
  EXPECT_EXIT(
      {
        StartLibrary();
        int handle = -1;
        for (int n = 0; n < kGraphSlotCount; ++n) handle = AllocGraphHandle();
        if ((handle & 0xFFFF) != kGraphSlotCount - 1 || FindGraphRecord(handle) == nullptr) _exit(3);
        AllocGraphHandle();
        _exit(4);
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_NE(ReadLog().find("グラフィックの数が許容量を越えました終了します"), std::string::npos);
}

}  // namespace
