#include "lib/table/quick_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "lib/table/sort_order.h"

namespace tembrovia {
namespace {

// A comparator as a script supplies it: counts its calls and checks that it only ever sees
// items of the list.
struct CheckedLess {
  int* calls;
  ErrorCode operator()(int a, int b, bool& before) const {
    ++*calls;
    EXPECT_GE(a, 0);
    EXPECT_GE(b, 0);
    before = a < b;
    return ERR_NONE;
  }
};

TEST(QuickSort, SortsEveryShapeOfInput) {
  std::mt19937 random(11);
  for (size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 16u, 100u, 1000u}) {
    std::vector<std::vector<int>> inputs(4, std::vector<int>(n));
    for (size_t k = 0; k < n; ++k) {
      inputs[0][k] = static_cast<int>(random() % 1000);      // random
      inputs[1][k] = static_cast<int>(k);                     // sorted
      inputs[2][k] = static_cast<int>(n - k);                 // reversed
      inputs[3][k] = static_cast<int>(random() % 3);          // many equal keys
    }
    for (std::vector<int>& items : inputs) {
      std::vector<int> want = items;
      std::sort(want.begin(), want.end());
      int calls = 0;
      ASSERT_EQ(QuickSort(items, n, CheckedLess{&calls}), ERR_NONE);
      EXPECT_EQ(items, want) << n;
      // Median-of-three keeps sorted, reversed and equal-key lists well away from n^2 steps.
      if (n >= 100) {
        EXPECT_LT(calls, static_cast<int>(n) * 30) << n;
      }
    }
  }
}

TEST(QuickSort, SortsOnlyTheGivenCount) {
  std::vector<int> items = {3, 1, 2, 0};
  int calls = 0;
  ASSERT_EQ(QuickSort(items, 3, CheckedLess{&calls}), ERR_NONE);
  EXPECT_EQ(items, (std::vector<int>{1, 2, 3, 0}));
}

TEST(QuickSort, AnAlwaysTrueOrderFailsOnFourOrMoreItems) {
  auto always = [](int, int, bool& before) {
    before = true;
    return ERR_NONE;
  };
  for (size_t n : {4u, 5u, 50u}) {
    std::vector<int> items(n, 7);
    EXPECT_EQ(QuickSort(items, n, always), ERR_SORTFUNC) << n;
  }
  for (size_t n : {2u, 3u}) {
    std::vector<int> items = {1, 2, 3};
    EXPECT_EQ(QuickSort(items, n, always), ERR_NONE) << n;
  }
}

// Items whose every access is checked against the sorted range.
struct RangeCheckedItems {
  std::vector<int> items;
  int& operator[](std::ptrdiff_t index) {
    EXPECT_TRUE(index >= 0 && static_cast<size_t>(index) < items.size()) << index;
    return items.at(static_cast<size_t>(index));
  }
};

// Random answers: the sort must end, stay inside the range and leave a permutation of the items.
TEST(QuickSort, InconsistentOrdersEndWithinTheRange) {
  std::mt19937 random(3);
  int failures = 0;
  for (int round = 0; round < 2000; ++round) {
    size_t n = 4 + random() % 60;
    RangeCheckedItems checked;
    for (size_t k = 0; k < n; ++k) checked.items.push_back(static_cast<int>(k));
    auto coin = [&random](int, int, bool& before) {
      before = random() % 2;
      return ERR_NONE;
    };
    ErrorCode error = QuickSort(checked, n, coin);
    ASSERT_TRUE(error == ERR_NONE || error == ERR_SORTFUNC);
    failures += error == ERR_SORTFUNC;
    std::vector<int> sorted = checked.items;
    std::sort(sorted.begin(), sorted.end());
    for (size_t k = 0; k < n; ++k) ASSERT_EQ(sorted[k], static_cast<int>(k));
  }
  EXPECT_GT(failures, 0);
}

TEST(QuickSort, AComparatorErrorEndsTheSort) {
  std::vector<int> items = {5, 4, 3, 2, 1, 0};
  int calls = 0;
  auto failing = [&calls](int a, int b, bool& before) -> ErrorCode {
    if (++calls == 4) return ERR_ERRORCALLED;
    before = a < b;
    return ERR_NONE;
  };
  EXPECT_EQ(QuickSort(items, items.size(), failing), ERR_ERRORCALLED);
  EXPECT_EQ(calls, 4);
}

TEST(SortOrder, StringsWithoutRegardToCase) {
  std::vector<std::string> items = {"b", "A", "c", "\xE4x", "\xC4", "ab"};
  auto less = [](const std::string& a, const std::string& b, bool& before) {
    before = Latin1LessNoCase(a, b);
    return ERR_NONE;
  };
  ASSERT_EQ(QuickSort(items, items.size(), less), ERR_NONE);
  EXPECT_EQ(items, (std::vector<std::string>{"A", "ab", "b", "c", "\xC4", "\xE4x"}));
  EXPECT_FALSE(Latin1LessNoCase("ABC", "abc"));
  EXPECT_FALSE(Latin1LessNoCase("abc", "ABC"));
  EXPECT_TRUE(Latin1LessNoCase("ab", "ABC"));
  // Compared in upper case: "a" becomes 0x41 and comes before "_" (0x5F).
  EXPECT_TRUE(Latin1LessNoCase("a", "_"));
}

}  // namespace
}  // namespace tembrovia
