#include "lib/table/list_positions.h"

#include <gtest/gtest.h>

namespace tembrovia {
namespace {

TEST(ListPositions, InsertRemoveAndConcat) {
  EXPECT_EQ(ListInsertPosition(-1, 3), 3);
  EXPECT_EQ(ListInsertPosition(0, 3), 0);
  EXPECT_EQ(ListInsertPosition(3, 3), 3);
  EXPECT_EQ(ListInsertPosition(10, 3), 3);
  EXPECT_EQ(ListInsertPosition(-1, 0), 0);

  EXPECT_EQ(ListRemovePosition(-1, 3), 2);
  EXPECT_EQ(ListRemovePosition(0, 3), 0);
  EXPECT_EQ(ListRemovePosition(2, 3), 2);
  EXPECT_EQ(ListRemovePosition(3, 3), 2);

  ListRange whole = ConcatRange(0, 0, 3);
  EXPECT_EQ(whole.first, 0);
  EXPECT_EQ(whole.last, 2);
  ListRange second = ConcatRange(1, 1, 3);
  EXPECT_EQ(second.first, 1);
  EXPECT_EQ(second.last, 1);
  EXPECT_TRUE(ConcatRange(0, 0, 0).empty());
  EXPECT_TRUE(ConcatRange(2, 1, 5).empty());
  EXPECT_EQ(ConcatRange(1, 0, 1).last, 0);  // start past the only item: empty
  EXPECT_TRUE(ConcatRange(1, 0, 1).empty());
  EXPECT_EQ(ConcatRange(0, 7, 3).last, 7);  // not clipped to the count
}

}  // namespace
}  // namespace tembrovia
