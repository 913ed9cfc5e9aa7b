// The collector: reachability, weak tables, finalisers, thresholds and shrinking.
#include <string>

#include "vm/state.h"
#include "vm_fixture.h"

namespace tembrovia {
namespace {

class GcTest : public VmTest {
 protected:
  int CountEntries(int index) {
    int n = 0;
    PushNil(L);
    while (Next(L, index)) {
      Pop(L, 1);
      ++n;
    }
    return n;
  }
};

TEST_F(GcTest, UnreachableObjectsAreFreed) {
  CollectGarbage(L);
  size_t base = GetBytesInUse(L);
  for (int i = 0; i < 1000; ++i) {
    NewTable(L);
    PushString(L, ("garbage" + std::to_string(i)).c_str());
    SetField(L, -2, "x");
    Pop(L, 1);
  }
  EXPECT_GT(GetBytesInUse(L), base);
  NewTable(L);  // one that stays
  CollectGarbage(L);
  EXPECT_LT(GetBytesInUse(L), base + 1024);
  EXPECT_TRUE(IsTable(L, -1));
}

TEST_F(GcTest, WeakKeysDropCollectedObjectsButKeepStrings) {
  NewTable(L);  // 1: the cache
  NewTable(L);  // its metatable
  PushString(L, "k");
  SetField(L, -2, "__mode");
  SetMetatable(L, 1);
  NewTable(L);  // a key object that becomes unreachable
  PushNumber(L, 1);
  SetTable(L, 1);
  PushString(L, "name");
  PushNumber(L, 2);
  SetTable(L, 1);
  NewTable(L);  // a key object that stays reachable (at index 2)
  PushValue(L, 2);
  PushNumber(L, 3);
  SetTable(L, 1);
  EXPECT_EQ(CountEntries(1), 3);
  CollectGarbage(L);
  EXPECT_EQ(CountEntries(1), 2);
}

TEST_F(GcTest, WeakValuesDropCollectedObjects) {
  NewTable(L);
  NewTable(L);
  PushString(L, "v");
  SetField(L, -2, "__mode");
  SetMetatable(L, 1);
  NewTable(L);
  RawSetI(L, 1, 1);
  PushString(L, "text");
  RawSetI(L, 1, 2);
  CollectGarbage(L);
  RawGetI(L, 1, 1);
  EXPECT_TRUE(IsNil(L, -1));
  RawGetI(L, 1, 2);
  EXPECT_EQ(StringAt(-1), "text");
}

static int finalised = 0;
int CountFinalisation(VMState*) {
  ++finalised;
  return 0;
}

TEST_F(GcTest, UserdataAreFinalisedOnceAndFreedLater) {
  finalised = 0;
  NewUserdata(L, 100);
  NewTable(L);
  PushNativeFunction(L, CountFinalisation);
  SetField(L, -2, "__gc");
  SetMetatable(L, -2);
  CollectGarbage(L);
  EXPECT_EQ(finalised, 0) << "still reachable";
  size_t withUserdata = GetBytesInUse(L);
  Pop(L, 1);
  CollectGarbage(L);
  EXPECT_EQ(finalised, 1);
  CollectGarbage(L);
  EXPECT_EQ(finalised, 1) << "finalised exactly once";
  EXPECT_LT(GetBytesInUse(L), withUserdata - 100) << "freed by the collection after";
}

TEST_F(GcTest, ClosingTheStateRunsPendingFinalisers) {
  finalised = 0;
  VMState* other = NewState();
  NewUserdata(other, 8);
  NewTable(other);
  PushNativeFunction(other, CountFinalisation);
  SetField(other, -2, "__gc");
  SetMetatable(other, -2);
  CloseState(other);
  EXPECT_EQ(finalised, 1);
}

TEST_F(GcTest, ThresholdIsTwiceTheCountAfterACollection) {
  SetGCThreshold(L, 0);  // collects at once
  int count = GetGCCount(L);
  int threshold = GetGCThreshold(L);
  EXPECT_NEAR(threshold, 2 * count, 2);
  SetGCThreshold(L, 5000000);
  EXPECT_GT(GetGCThreshold(L), 4000000);
}

TEST_F(GcTest, AnEmptyStateIsSmall) {
  CollectGarbage(L);
  EXPECT_LT(GetBytesInUse(L), 64u * 1024);
}

TEST_F(GcTest, ACollectionAfterDeepRecursionShrinksTheStack) {
  ASSERT_EQ(Run(R"(
    .function deep
      .params 1
      ifless 1, r0, 1
      jump done
      sub r0, r0, 1
      readglobal r1, "deep"
      move r2, r0
      call r1, 2, 1
      done: return r0, 1
    .end
    makeclosure r0, deep
    writeglobal r0, "deep"
    loadconst r1, 1000
    call r0, 2, 1
    return r0, 1
  )"), ERR_NONE);
  int grown = L->stackSize;
  EXPECT_GT(grown, 1000);
  for (int i = 0; i < 8; ++i) CollectGarbage(L);
  EXPECT_LT(L->stackSize, grown / 8);
}

TEST_F(GcTest, MemoryLimitRaisesOutOfMemory) {
  SetMemoryLimit(L, GetBytesInUse(L) + 64 * 1024);
  EXPECT_EQ(Run("maketable r0, 0x99, 0\nreturn r0, 2"), ERR_MEM);  // 2^19 slots
  SetMemoryLimit(L, 0);
  EXPECT_EQ(Run("maketable r0, 0x99, 0\nreturn r0, 2"), ERR_NONE);
}

}  // namespace
}  // namespace tembrovia
