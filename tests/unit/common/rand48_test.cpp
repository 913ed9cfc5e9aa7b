#include "common/rand48.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace tembrovia {
namespace {

// The C library's drand48 family is the same generator; seeded alike, the draws agree.
TEST(Rand48State, MatchesTheCLibraryGenerator) {
  for (long seed : {0L, 1L, 12345L, 0x7FFFFFFFL}) {
    Rand48State ours;
    ours.Seed(static_cast<uint32_t>(seed));
    srand48(seed);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(ours.Next(), drand48()) << "seed " << seed << " draw " << i;
  }
}

TEST(Rand48State, SeedsTheDocumentedState) {
  Rand48State r;
  r.Seed(0xFFFFFFFFu);
  EXPECT_EQ(r.state(), 0xFFFFFFFF330EULL);
  double d = r.Next();
  EXPECT_GE(d, 0.0);
  EXPECT_LT(d, 1.0);
}

}  // namespace
}  // namespace tembrovia
