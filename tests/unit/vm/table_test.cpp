// Tables at the level of their layout: array and hash parts, rehash sizes, iteration order.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "vm/api.h"
#include "vm/errors.h"
#include "vm/string_table.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

class TableTest : public ::testing::Test {
 protected:
  TableTest() : L(NewState()) { L->protectedDepth++; }
  ~TableTest() override {
    L->protectedDepth--;
    CloseState(L);
  }

  Value Str(const char* s) {
    Value v;
    SetString(&v, InternString(L, s));
    return v;
  }

  // Keys in iteration order, as numbers (strings as -1).
  std::vector<double> KeysInOrder(Table* t) {
    std::vector<double> keys;
    Value kv[2];
    SetNil(&kv[0]);
    while (TableNext(L, t, kv)) keys.push_back(kv[0].tag == TagNumber ? kv[0].n : -1);
    return keys;
  }

  ErrorCode ErrorOf(auto&& action) {
    try {
      action();
    } catch (const VMError& e) {
      return e.code;
    }
    return ERR_NONE;
  }

  VMState* L;
};

TEST_F(TableTest, NilKeyIsKeyZero) {
  Table* t = NewTable(L, 0, 0);
  *TableSet(L, t, NilValue()) = NumberValue(5);
  EXPECT_EQ(TableGetInt(t, 0)->n, 5);
  EXPECT_EQ(TableGet(t, NilValue())->n, 5);
  Value kv[2];
  SetNil(&kv[0]);
  ASSERT_TRUE(TableNext(L, t, kv));
  EXPECT_EQ(kv[0].tag, TagNumber);
  EXPECT_EQ(kv[0].n, 0);
}

TEST_F(TableTest, NaNKeyFailsOnStoreAndReadsNil) {
  Table* t = NewTable(L, 0, 0);
  EXPECT_EQ(ErrorOf([&] { TableSet(L, t, NumberValue(NAN)); }), ERR_TABLEINDEX);
  EXPECT_EQ(TableGet(t, NumberValue(NAN))->tag, TagNil);
}

TEST_F(TableTest, KeysZeroToNineKeepOneToNineInTheArrayPart) {
  Table* t = NewTable(L, 0, 0);
  for (int k = 0; k <= 9; ++k) *TableSetInt(L, t, k) = NumberValue(k * 10);
  EXPECT_EQ(t->sizearray, 16u);
  EXPECT_EQ(t->lsizenode, 1);  // key 0 alone in the hash part
  std::vector<double> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
  EXPECT_EQ(KeysInOrder(t), expected);
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(TableGetInt(t, k)->n, k * 10);
}

TEST_F(TableTest, SparseIntegerKeysStayInTheHashPart) {
  Table* t = NewTable(L, 0, 0);
  *TableSetInt(L, t, 1) = NumberValue(1);
  *TableSetInt(L, t, 1000) = NumberValue(2);
  *TableSetInt(L, t, 100000) = NumberValue(3);
  EXPECT_EQ(t->sizearray, 1u);
  EXPECT_EQ(TableGetInt(t, 1000)->n, 2);
  EXPECT_EQ(TableGetInt(t, 100000)->n, 3);
}

TEST_F(TableTest, HashIterationFollowsNodeOrder) {
  Table* t = NewTable(L, 0, 2);  // 4 nodes
  Value a = Str("a"), b = Str("b"), c = Str("c");
  *TableSet(L, t, a) = NumberValue(1);
  *TableSet(L, t, b) = NumberValue(2);
  *TableSet(L, t, c) = NumberValue(3);
  // Node order is the order the iteration must reproduce.
  std::vector<const Collectable*> nodeOrder, iterated;
  for (uint32_t i = 0; i < NodeCount(t); ++i) {
    if (t->node[i].value.tag != TagNil) nodeOrder.push_back(t->node[i].key.gc);
  }
  Value kv[2];
  SetNil(&kv[0]);
  while (TableNext(L, t, kv)) iterated.push_back(kv[0].gc);
  EXPECT_EQ(iterated, nodeOrder);
  EXPECT_EQ(iterated.size(), 3u);
}

TEST_F(TableTest, CollisionsMoveTheIntruderOutOfAMainPosition) {
  // Numbers whose main positions collide in a 4-node table, inserted in an order that makes
  // a key displaced by a collision find its own main position taken later.
  Table* t = NewTable(L, 0, 2);
  std::vector<double> keys = {0.5, 1.5, 2.5, 3.5};
  for (double k : keys) *TableSet(L, t, NumberValue(k)) = NumberValue(k * 2);
  for (double k : keys) EXPECT_EQ(TableGet(t, NumberValue(k))->n, k * 2) << k;
  // A fifth key forces a rehash; everything survives.
  *TableSet(L, t, NumberValue(4.5)) = NumberValue(9);
  EXPECT_EQ(t->lsizenode, 3);
  for (double k : keys) EXPECT_EQ(TableGet(t, NumberValue(k))->n, k * 2) << k;
  EXPECT_EQ(TableGet(t, NumberValue(4.5))->n, 9);
}

TEST_F(TableTest, NextFromAMissingKeyFails) {
  Table* t = NewTable(L, 0, 0);
  *TableSet(L, t, Str("x")) = NumberValue(1);
  Value kv[2];
  kv[0] = Str("y");
  EXPECT_EQ(ErrorOf([&] { TableNext(L, t, kv); }), ERR_INVNEXTKEY);
}

TEST_F(TableTest, AKeySetToNilDuringIterationIsStillFound) {
  Table* t = NewTable(L, 0, 0);
  *TableSet(L, t, Str("x")) = NumberValue(1);
  *TableSet(L, t, Str("y")) = NumberValue(2);
  Value kv[2];
  SetNil(&kv[0]);
  ASSERT_TRUE(TableNext(L, t, kv));
  *TableSet(L, t, kv[0]) = NilValue();  // clear the current entry
  EXPECT_EQ(ErrorOf([&] { TableNext(L, t, kv); }), ERR_NONE);
}

TEST_F(TableTest, MinusZeroAndZeroAreOneKey) {
  Table* t = NewTable(L, 0, 0);
  *TableSet(L, t, NumberValue(-0.0)) = NumberValue(7);
  EXPECT_EQ(TableGetInt(t, 0)->n, 7);
  *TableSet(L, t, NumberValue(2.5)) = NumberValue(1);
  EXPECT_EQ(TableGet(t, NumberValue(-0.0))->n, 7);
}

TEST_F(TableTest, HashPartBeyondTheLimitOverflows) {
  EXPECT_EQ(ErrorOf([&] { NewTable(L, 0, 25); }), ERR_TABLEOVERFLOW);
}

TEST_F(TableTest, ArrayShrinksIntoTheHashWhenKeysThinOut) {
  Table* t = NewTable(L, 8, 0);
  for (int k = 1; k <= 8; ++k) *TableSetInt(L, t, k) = NumberValue(k);
  for (int k = 1; k <= 7; ++k) *TableSetInt(L, t, k) = NilValue();
  // New string keys fill the hash part and force a rehash that recounts the integers.
  *TableSet(L, t, Str("a")) = NumberValue(1);
  *TableSet(L, t, Str("b")) = NumberValue(2);
  EXPECT_EQ(t->sizearray, 0u);
  EXPECT_EQ(TableGetInt(t, 8)->n, 8);
}

}  // namespace
}  // namespace tembrovia
